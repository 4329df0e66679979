// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracker/FrontApp.h"

#include "analytics/Labels.h"
#include "browser/KnownBrowsers.h"
#include "slacking/Hosts.h"
#include "slacking/KnownServices.h"
#include "slacking/Wollu.h"

#include <QTextBoundaryFinder>

namespace FrontApp {

namespace {

constexpr qsizetype kMinCandidateLength = 3;

qsizetype graphemes(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

void addCandidate(QStringList& list, const QString& name)
{
    const QString trimmed = name.trimmed();
    if (graphemes(trimmed) >= kMinCandidateLength && !list.contains(trimmed, Qt::CaseInsensitive))
        list.append(trimmed);
}

// Both dash forms browsers use between the parts of a title: Chromium's hyphen, Firefox's em dash.
const QString kSeparators[] = {QStringLiteral(" - "), QStringLiteral(" \u2014 "),
                               QStringLiteral(" \u2013 ")};

QString withoutBrowserName(const QString& title, const QString& browser)
{
    const KnownBrowser* known = KnownBrowsers::byName(browser);
    const QStringList names = known ? known->titleNames : QStringList{browser};
    for (const QString& name : names) {
        for (const QString& separator : kSeparators) {
            if (title.endsWith(separator + name, Qt::CaseInsensitive))
                return title.chopped(separator.size() + name.size());
        }
    }
    return title;
}

QString lastSegment(const QString& title)
{
    qsizetype cut = -1;
    qsizetype width = 0;
    for (const QString& separator : kSeparators) {
        const qsizetype at = title.lastIndexOf(separator);
        if (at > cut) {
            cut = at;
            width = separator.size();
        }
    }
    return cut < 0 ? title : title.mid(cut + width);
}

// Every name a listed site is known by: the entry itself, the names people type for the same
// service and the words in its address.
QStringList siteNames(const QString& entry)
{
    QStringList names{serviceKey(entry)};
    const auto& known = KNOWN_SERVICES();
    const auto service = known.constFind(serviceKey(entry));
    if (service == known.constEnd())
        return names;
    for (auto it = known.constBegin(); it != known.constEnd(); ++it) {
        if (it->tokens == service->tokens)
            names.append(it.key());
    }
    for (const QString& token : service->tokens)
        names.append(token.toLower());
    return names;
}

bool isAppOnly(const QString& entry)
{
    const auto& known = KNOWN_SERVICES();
    const auto service = known.constFind(serviceKey(entry));
    return service != known.constEnd() && !service->kind.contains(QStringLiteral("사이트"));
}

} // namespace

std::optional<QString> browserName(const FrontWindow& window)
{
    return KnownBrowsers::nameForWindowClass(window.windowClass, window.instance);
}

QStringList nameCandidates(const FrontWindow& window)
{
    QStringList list;
    addCandidate(list, window.appName);
    if (browserName(window))
        return list;
    addCandidate(list, window.windowClass);
    addCandidate(list, window.instance);
    addCandidate(list, window.executable);
    return list;
}

std::optional<QString> distractingName(const FrontWindow& window)
{
    for (const QString& name : nameCandidates(window)) {
        if (Wollu::isDistraction(name))
            return name;
    }
    return std::nullopt;
}

std::optional<QString> siteLabelFromTitle(const QString& title, const QString& browser)
{
    const QString segment = serviceKey(lastSegment(withoutBrowserName(title.trimmed(), browser)));
    if (segment.isEmpty())
        return std::nullopt;
    for (const QString& entry : Wollu::apps()) {
        if (isAppOnly(entry))
            continue;
        if (siteNames(entry).contains(segment))
            return Analytics::distractionLabel(entry);
    }
    return std::nullopt;
}

} // namespace FrontApp
