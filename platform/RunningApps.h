// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QList>
#include <QString>

// A running application with a window of its own, as the platform lists it.
struct RunningApp
{
    QString name; // what the user calls it: its desktop entry's name, else its window class
    QIcon icon;   // null when neither the desktop entry nor the window has one
};

namespace RunningApps {

// The applications with ordinary windows open now, in the window manager's order, each once.
// Empty where the platform cannot tell (Wayland, no display).
QList<RunningApp> list();

} // namespace RunningApps
