// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/OsRelease.h"

#include <QFile>
#include <QStringList>

namespace {

QString unquoted(QString value)
{
    if (value.size() >= 2 && value.front() == u'\'' && value.back() == u'\'')
        return value.mid(1, value.size() - 2);
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') {
        QString out;
        const QString inner = value.mid(1, value.size() - 2);
        for (qsizetype i = 0; i < inner.size(); ++i) {
            // Only these four are escapes in a double-quoted shell word; any other backslash
            // stands for itself.
            if (inner[i] == u'\\' && i + 1 < inner.size() &&
                QStringLiteral("\"\\`$").contains(inner[i + 1]))
                ++i;
            out.append(inner[i]);
        }
        return out;
    }
    return value;
}

} // namespace

namespace OsRelease {

Release parse(const QByteArray& text)
{
    Release release;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype eq = line.indexOf(u'=');
        if (line.startsWith(u'#') || eq <= 0)
            continue;
        const QString key = line.left(eq);
        if (key == QLatin1String("NAME"))
            release.name = unquoted(line.mid(eq + 1)).trimmed();
        else if (key == QLatin1String("VERSION_ID"))
            release.versionId = unquoted(line.mid(eq + 1)).trimmed();
    }
    return release;
}

std::optional<Release> readFirst(const QStringList& paths)
{
    for (const QString& path : paths) {
        QFile file(path);
        // An os-release file is a few hundred bytes; a larger one is not read past its start.
        if (file.open(QIODevice::ReadOnly))
            return parse(file.read(64 * 1024));
    }
    return std::nullopt;
}

std::optional<Release> readSystem()
{
    return readFirst({QStringLiteral("/etc/os-release"), QStringLiteral("/usr/lib/os-release")});
}

} // namespace OsRelease
