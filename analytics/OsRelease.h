// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The distribution's own name and release, as its os-release file states them
// (/etc/os-release, or /usr/lib/os-release where a system keeps only the vendor's copy).
namespace OsRelease {

struct Release
{
    QString name;      // NAME, e.g. "Debian GNU/Linux"
    QString versionId; // VERSION_ID, e.g. "12"; empty on rolling releases
};

// The NAME and VERSION_ID of an os-release text: shell-style assignments, values optionally in
// single or double quotes with backslash escapes inside double quotes.
Release parse(const QByteArray& text);
// The first of the system's os-release files that can be read; nothing where none can.
std::optional<Release> readSystem();
// The same from the given files, the first readable one winning.
std::optional<Release> readFirst(const QStringList& paths);

} // namespace OsRelease
