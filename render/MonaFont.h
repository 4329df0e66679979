#pragma once

#include <QFont>

// Registers the bundled pixel font (Mona12.ttf, Mona12-Bold.ttf); called once at launch.
void registerMonaFont();
// The pixel font at `size` points, falling back to the system font.
QFont mona(double size = 12);
QFont monaBold(double size = 12);
