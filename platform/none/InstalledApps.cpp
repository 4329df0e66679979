// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InstalledApps.h"

// Without desktop entries no installed application can be found by name.
std::optional<InstalledApp> findInstalledApp(const QString&)
{
    return std::nullopt;
}

std::optional<InstalledApp> findInstalledAppForWindow(const QString&, const QString&,
                                                      const QString&)
{
    return std::nullopt;
}

void setApplicationDirs(const QStringList&)
{}
