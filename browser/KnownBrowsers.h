// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The browsers whose tabs can be looked into: the ones our extension runs in and whose window
// titles follow "Page - Site - Browser".
struct KnownBrowser
{
    QString name;              // "Google Chrome", "Firefox", ...
    QStringList windowClasses; // WM_CLASS parts in lower case
    QStringList executables;   // file names of the browser's main program
    QStringList titleNames;    // what the browser appends to its window titles
};

namespace KnownBrowsers {

const QList<KnownBrowser>& all();
// The browser a window belongs to, by either part of its WM_CLASS (case-insensitive).
std::optional<QString> nameForWindowClass(const QString& windowClass, const QString& instance);
// The browser a process runs, by its program's file name.
std::optional<QString> nameForExecutable(const QString& executable);
const KnownBrowser* byName(const QString& name);

} // namespace KnownBrowsers
