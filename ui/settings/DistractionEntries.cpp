// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/DistractionEntries.h"

#include "slacking/Hosts.h"

#include <QRegularExpression>

namespace DistractionEntries {

namespace {

// The ASCII comma, its full-width and ideographic forms (Korean input methods offer all three),
// and line breaks.
QStringList pieces(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[,\\x{FF0C}\\x{3001}\\n\\r]"));
    return text.split(separators, Qt::SkipEmptyParts);
}

} // namespace

QStringList fromStored(const QString& raw)
{
    QStringList entries;
    for (const QString& piece :
         raw.split(QRegularExpression(QStringLiteral("[,\\n]")), Qt::SkipEmptyParts)) {
        const QString trimmed = trimHorizontal(piece).toString();
        if (!trimmed.isEmpty())
            entries.append(trimmed);
    }
    return entries;
}

QString toStored(const QStringList& entries)
{
    return entries.join(u',');
}

bool contains(const QStringList& entries, const QString& name)
{
    const QString lower = name.toLower();
    for (const QString& entry : entries)
        if (entry.toLower() == lower)
            return true;
    return false;
}

QStringList typedEntries(const QString& typed, const QStringList& existing)
{
    QStringList added;
    for (const QString& piece : pieces(typed)) {
        const QString entry = normalizeEntry(piece).trimmed();
        if (entry.isEmpty() || contains(existing, entry) || contains(added, entry))
            continue;
        added.append(entry);
    }
    return added;
}

} // namespace DistractionEntries
