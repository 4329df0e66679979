// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/TrayPixelRatio.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

double trayPixelRatio()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

QPoint trayLogicalPoint(QPoint nativePos)
{
    if (nativePos.isNull())
        return QCursor::pos();
    // Qt keeps each screen's origin as it is and scales only the distances within the screen.
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect logical = screen->geometry();
        const double dpr = screen->devicePixelRatio();
        const QRect native(logical.topLeft(), logical.size() * dpr);
        if (native.contains(nativePos))
            return logical.topLeft() + (nativePos - native.topLeft()) / dpr;
    }
    return nativePos / trayPixelRatio();
}
