#pragma once

// Device pixels per point of the screen the tray lives on (1 when there is no screen).
// Kept apart from code that sees the day's Display: Qt's X11 headers, pulled in by
// QGuiApplication, declare a global type of the same name.
double trayPixelRatio();
