// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>

// The Exec key of a desktop entry: a string value (backslash escapes) holding a command line
// whose arguments may be double-quoted, with `"`, `` ` ``, `$` and `\` escaped inside the quotes
// and `%` doubled (a single `%` starts a field code).
namespace DesktopExec {

// `path` as one Exec argument.
inline QString quoted(const QString& path)
{
    QString argument = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            argument += u'\\';
        if (c == u'%')
            argument += u'%';
        argument += c;
    }
    argument += u'"';
    // The string-value level on top: its own backslashes and line breaks escaped.
    QString value;
    for (const QChar c : argument) {
        if (c == u'\\')
            value += QLatin1String("\\\\");
        else if (c == u'\n')
            value += QLatin1String("\\n");
        else if (c == u'\t')
            value += QLatin1String("\\t");
        else if (c == u'\r')
            value += QLatin1String("\\r");
        else
            value += c;
    }
    return value;
}

// The arguments of an Exec value as written in the file.
inline QStringList arguments(const QString& value)
{
    QString line;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            line += value[i];
            continue;
        }
        const QChar next = value[++i];
        line += next == u'n'   ? QChar(u'\n')
                : next == u't' ? QChar(u'\t')
                : next == u'r' ? QChar(u'\r')
                : next == u's' ? QChar(u' ')
                               : next;
    }
    QStringList args;
    QString current;
    bool inQuotes = false, started = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'%' && i + 1 < line.size() && line[i + 1] == u'%') {
            current += c;
            started = true;
            ++i;
        } else if (inQuotes) {
            if (c == u'\\' && i + 1 < line.size())
                current += line[++i];
            else if (c == u'"')
                inQuotes = false;
            else
                current += c;
        } else if (c == u'"') {
            inQuotes = started = true;
        } else if (c.isSpace()) {
            if (started)
                args.append(current);
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started)
        args.append(current);
    return args;
}

// The program an Exec value starts, past an `env VAR=value` prefix.
inline QString program(const QString& value)
{
    const QStringList args = arguments(value);
    qsizetype i = 0;
    if (!args.isEmpty() && QFileInfo(args[0]).fileName() == QLatin1String("env")) {
        i = 1;
        while (i < args.size() && (args[i].contains(u'=') || args[i].startsWith(u'-'))) {
            // The options that take a value of their own: -u NAME, -C DIR.
            const bool takesValue =
                args[i] == QLatin1String("-u") || args[i] == QLatin1String("-C");
            i += takesValue ? 2 : 1;
        }
    }
    return i < args.size() ? args[i] : QString();
}

} // namespace DesktopExec
