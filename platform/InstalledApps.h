// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

#include <optional>

// An installed application, found by its desktop entry.
struct InstalledApp
{
    QString name;
    QString desktopFile;
    QIcon icon;
    QString displayName; // Name[ko] under a Korean locale, else Name
};
// The installed application called `name` (its entry's file name, its last reverse-DNS part or its
// Name, case-insensitively), searched in the XDG application folders.
std::optional<InstalledApp> findInstalledApp(const QString& name);
// The installed application a window belongs to, known by the window's WM_CLASS parts and the
// file name of its process's program: the entry whose StartupWMClass names the class or instance,
// else whose file name is one of them, else whose program is `executable`.
std::optional<InstalledApp> findInstalledAppForWindow(const QString& windowClass,
                                                      const QString& instance,
                                                      const QString& executable);
// Replaces the folders searched (tests); an empty list restores the XDG folders.
void setApplicationDirs(const QStringList& dirs);
