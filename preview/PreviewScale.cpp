// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PreviewScale.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

qreal previewScale()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return 2.0;
    return std::max<qreal>(screen->devicePixelRatio(), 1.0);
}
