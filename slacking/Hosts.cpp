// SPDX-License-Identifier: GPL-3.0-or-later
#include "slacking/Hosts.h"

namespace {

bool isHorizontalSpace(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

QStringView trimHorizontal(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isHorizontalSpace(text[begin]))
        ++begin;
    while (end > begin && isHorizontalSpace(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

QString serviceKey(const QString& name)
{
    return trimHorizontal(name).toString().toLower();
}

std::optional<QString> hostOf(const QString& address)
{
    const QString lowered = trimHorizontal(address).toString().toLower();
    QStringView s = lowered;

    if (const qsizetype scheme = s.indexOf(u"://"); scheme >= 0)
        s = s.sliced(scheme + 3);
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'/' || s[i] == u'?' || s[i] == u'#') {
            s = s.first(i);
            break;
        }
    }
    // Only the authority is searched for user information, so an "@" in a path (a channel
    // handle such as /@name) leaves the host alone.
    if (const qsizetype at = s.indexOf(u'@'); at >= 0)
        s = s.sliced(at + 1);
    if (const qsizetype colon = s.indexOf(u':'); colon >= 0)
        s = s.first(colon);
    if (s.startsWith(u"www."))
        s = s.sliced(4);
    if (s.startsWith(u"m."))
        s = s.sliced(2);
    while (!s.isEmpty() && s.front() == u'.')
        s = s.sliced(1);
    while (!s.isEmpty() && s.back() == u'.')
        s.chop(1);

    if (s.isEmpty())
        return std::nullopt;
    return s.toString();
}

QString normalizeEntry(const QString& entry)
{
    const QString t = trimHorizontal(entry).toString();
    const bool looksLikeAddress = t.contains(u"://") || (t.contains(u'.') && !t.contains(u' '));
    if (looksLikeAddress) {
        if (std::optional<QString> host = hostOf(t))
            return *host;
    }
    return t;
}
