#pragma once

#include "display/Display.h"

#include <QImage>

// The 27 x 22 point tray image for `display`, drawn at `devicePixelRatio` pixels per point.
QImage renderMenuBar(const Display& display, qreal devicePixelRatio = 1.0);
