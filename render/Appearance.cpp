// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Appearance.h"

#include <QGuiApplication>
#include <QPalette>
#include <QStyleHints>

bool systemIsDark()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    switch (QGuiApplication::styleHints()->colorScheme()) {
    case Qt::ColorScheme::Dark:
        return true;
    case Qt::ColorScheme::Light:
        return false;
    case Qt::ColorScheme::Unknown:
        break;
    }
#endif
    // Without a colour scheme from the platform, a dark theme shows itself by a dark window colour.
    const QColor window = QGuiApplication::palette().color(QPalette::Active, QPalette::Window);
    return window.lightnessF() < 0.5;
}

bool uiIsDark()
{
    if (uiDarkOverride)
        return *uiDarkOverride;
    return systemIsDark();
}

QColor dyn(const QColor& light, const QColor& dark)
{
    return uiIsDark() ? dark : light;
}
