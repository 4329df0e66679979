// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>

// Device pixels per point of the screen the tray lives on (1 when there is no screen).
double trayPixelRatio();

// A position in the X server's own pixels, as StatusNotifierItem hosts send it, in Qt's screen
// coordinates (device-independent pixels). Hosts that know no position send (0, 0); the pointer's
// position stands in for it.
QPoint trayLogicalPoint(QPoint nativePos);
