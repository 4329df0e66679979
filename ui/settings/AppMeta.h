// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/InstalledApps.h"
#include "platform/RunningApps.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What the distraction-list editor shows for an entry: an icon, a kind ("앱", "사이트" or
// "앱, 사이트") and a detail line (the site's domain, or "앱").
struct AppMeta
{
    QIcon icon; // null only when no icon could be made at all
    QString kind;
    QString detail;
};

AppMeta appMeta(const QString& entry);
// The same, given the running applications (asked once for a whole list of entries: each asking
// walks the window manager's windows).
AppMeta appMeta(const QString& entry, const QList<RunningApp>& running);

using RunningAppsSource = std::function<QList<RunningApp>()>;
// Where the running applications come from: RunningApps::list() unless replaced (tests); an empty
// function means none.
void setRunningAppsSource(RunningAppsSource source);
// The running applications from that source.
QList<RunningApp> runningApps();

// The icons used when nothing better is found: a globe for sites, a dashed badge with the entry's
// initial for applications.
QIcon siteFallbackIcon();
QIcon appFallbackIcon(const QString& entry);
