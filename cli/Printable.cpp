// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Printable.h"

namespace {

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f);
}

QString hexEscape(char16_t c)
{
    if (c <= 0xff)
        return QStringLiteral("\\x") + QString::number(c, 16).rightJustified(2, u'0');
    return QStringLiteral("\\u") + QString::number(c, 16).rightJustified(4, u'0');
}

// Line breaks and tabs are text in a quoted CSV field.
bool csvEscapes(const QString& text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (c == u'\n' || c == u'\r' || c == u'\t')
        return false;
    if (QChar::isHighSurrogate(c))
        return i + 1 >= text.size() || !QChar::isLowSurrogate(text[i + 1].unicode());
    if (QChar::isLowSurrogate(c))
        return i == 0 || !QChar::isHighSurrogate(text[i - 1].unicode());
    return isControl(c) || c == 0xfffd;
}

} // namespace

namespace Printable {

QString terminal(const QString& text)
{
    // U+FFFD stays: a terminal draws it as the replacement sign it is.
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (isControl(c))
            out += hexEscape(c);
        else
            out += ch;
    }
    return out;
}

QString csvField(const QString& text)
{
    bool escape = false;
    for (qsizetype i = 0; i < text.size() && !escape; ++i)
        escape = csvEscapes(text, i);
    QString field;
    if (escape) {
        field.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'\\')
                field += QStringLiteral("\\\\");
            else if (csvEscapes(text, i))
                field += hexEscape(text[i].unicode());
            else
                field += text[i];
        }
    } else {
        field = text;
    }
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') &&
        !field.contains(u'\r'))
        return field;
    field.replace(u'"', QStringLiteral("\"\""));
    return u'"' + field + u'"';
}

} // namespace Printable
