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
};
// The installed application called `name` (its entry's file name, its last reverse-DNS part or its
// Name, case-insensitively), searched in the XDG application folders.
std::optional<InstalledApp> findInstalledApp(const QString& name);
// Replaces the folders searched (tests); an empty list restores the XDG folders.
void setApplicationDirs(const QStringList& dirs);
