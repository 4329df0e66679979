// SPDX-License-Identifier: GPL-3.0-or-later
#include "slacking/Wollu.h"

#include "engine/DayKey.h"
#include "engine/Store.h"
#include "slacking/Hosts.h"
#include "slacking/KnownServices.h"

#include <QMutex>
#include <QTextBoundaryFinder>

#include <cmath>
#include <memory>
#include <string_view>
#include <vector>

namespace Wollu {

const QString defaultApps = QStringLiteral("카카오톡,유튜브,인스타그램,넷플릭스,디스코드,트위치");

} // namespace Wollu

namespace {

// The store keys this namespace owns.
namespace Key {
const QString apps = QStringLiteral("wolluApps");         // entries joined by ","
const QString day = QStringLiteral("wolluDay");           // day key "wolluSec" belongs to
const QString seconds = QStringLiteral("wolluSec");       // slacking seconds on that day
const QString disabled = QStringLiteral("wolluDisabled"); // tracking switched off
const QString hidden = QStringLiteral("wolluHidden");     // figures hidden, detection goes on
} // namespace Key

// Tokens shorter than this many visible characters would match far too many hosts ("x" is in
// half the web), so addresses ignore them; app names still use them.
constexpr qsizetype kMinUrlTokenLength = 3;

struct UrlToken
{
    QString token;
    QString dottedSuffix; // "." + token, for domain tokens
    bool domain = false;
};

// Everything matching needs, derived from one stored list text. The browser probe asks several
// times a minute, so the parse is kept until the text changes.
struct Parsed
{
    QString raw;
    QStringList entries;
    QStringList tokens;
    std::vector<UrlToken> urlTokens;
};

qsizetype graphemeCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

QStringList parseEntries(const QString& raw)
{
    QStringList entries;
    qsizetype start = 0;
    const qsizetype size = raw.size();
    for (qsizetype i = 0; i <= size; ++i) {
        // A list pasted from Windows or an old Mac ends its lines in "\r"; without splitting
        // there too the last letter of each entry would be a carriage return that never matches.
        if (i < size && raw[i] != u',' && raw[i] != u'\n' && raw[i] != u'\r')
            continue;
        const QStringView piece = trimHorizontal(QStringView(raw).sliced(start, i - start));
        if (!piece.isEmpty())
            entries.append(piece.toString().toLower());
        start = i + 1;
    }
    return entries;
}

std::shared_ptr<const Parsed> parse(const QString& raw)
{
    auto parsed = std::make_shared<Parsed>();
    parsed->raw = raw;
    parsed->entries = parseEntries(raw);
    for (const QString& entry : std::as_const(parsed->entries))
        parsed->tokens.append(Wollu::tokens(entry));
    for (const QString& token : std::as_const(parsed->tokens)) {
        if (graphemeCount(token) < kMinUrlTokenLength)
            continue;
        const bool domain = token.contains(u'.');
        parsed->urlTokens.push_back(
            UrlToken{token, domain ? QStringLiteral(".") + token : QString(), domain});
    }
    return parsed;
}

std::shared_ptr<const Parsed> current()
{
    static QMutex mutex;
    static std::shared_ptr<const Parsed> cached;

    const QString raw = Wollu::appsRaw();
    QMutexLocker lock(&mutex);
    // The store hands out the same shared text until it changes, so the full comparison is rare.
    if (!cached || (!raw.isSharedWith(cached->raw) && cached->raw != raw))
        cached = parse(raw);
    return cached;
}

std::u16string_view view(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.constData()), static_cast<size_t>(text.size())};
}

} // namespace

namespace Wollu {

QString appsRaw()
{
    return Store::standard().text(Key::apps).value_or(defaultApps);
}

void setApps(const QString& text)
{
    Store& store = Store::standard();
    store.set(Key::apps, text);
    store.flush();
}

QStringList apps()
{
    return current()->entries;
}

QStringList tokens(const QString& entry)
{
    const QString key = serviceKey(entry);
    const auto& known = KNOWN_SERVICES();
    if (const auto it = known.constFind(key); it != known.constEnd()) {
        QStringList lowered;
        lowered.reserve(it->tokens.size());
        for (const QString& token : it->tokens)
            lowered.append(token.toLower());
        return lowered;
    }
    return {entry.toLower()};
}

QStringList allTokens()
{
    return current()->tokens;
}

bool isDistraction(const std::optional<QString>& appName)
{
    if (!appName)
        return false;
    const QString name = appName->toLower();
    if (name.isEmpty())
        return false;
    const auto parsed = current();
    for (const QString& token : parsed->tokens) {
        // Both ways: "YouTube Music" contains "youtube", and an app called "Tube" is part of it.
        if (name.contains(token) || token.contains(name))
            return true;
    }
    return false;
}

bool matchesURL(const std::optional<QString>& url)
{
    if (!url || url->isEmpty())
        return false;
    const std::optional<QString> host = hostOf(*url);
    if (!host)
        return false;
    const auto parsed = current();
    // Plain code-unit searches: the tokens are already lower-cased, and the standard library's
    // short-needle search is several times faster here than QString's general one.
    const std::u16string_view h = view(*host);
    for (const UrlToken& t : parsed->urlTokens) {
        if (t.domain) {
            // A label boundary is required: "x.com" must not claim "fox.com".
            if (h == view(t.token) || h.ends_with(view(t.dottedSuffix)))
                return true;
        } else if (h.find(view(t.token)) != std::u16string_view::npos) {
            return true;
        }
    }
    return false;
}

void ensureDay()
{
    ensureDayRecord(Key::day, {{Key::seconds, 0.0}});
}

double seconds()
{
    ensureDay();
    return storedSeconds(Key::seconds);
}

void add(double seconds)
{
    ensureDay();
    // Elapsed time from a clock that jumped back, or garbage, must not shrink or poison the total.
    if (!std::isfinite(seconds) || seconds <= 0)
        return;
    const double total = storedSeconds(Key::seconds) + seconds;
    if (!std::isfinite(total))
        return;
    Store& store = Store::standard();
    store.set(Key::seconds, total);
    store.flush();
}

void reset()
{
    Store& store = Store::standard();
    store.set(Key::day, today());
    store.set(Key::seconds, 0.0);
    store.flush();
}

bool disabled()
{
    return Store::standard().boolean(Key::disabled);
}

void setDisabled(bool value)
{
    Store& store = Store::standard();
    store.set(Key::disabled, value);
    store.flush();
}

bool hidden()
{
    return Store::standard().boolean(Key::hidden);
}

void toggleHidden()
{
    Store& store = Store::standard();
    store.set(Key::hidden, !store.boolean(Key::hidden));
    store.flush();
}

} // namespace Wollu
