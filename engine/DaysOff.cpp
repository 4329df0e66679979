// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DaysOff.h"

#include "engine/SettingsKeys.h"
#include "engine/Store.h"

#include <QMutex>

#include <algorithm>
#include <map>
#include <memory>

namespace {

constexpr QChar kEntrySeparator = u'|';
constexpr QChar kHalfMark = u'@';
constexpr QChar kNoteMark = u':';

// Characters a note never holds as such: the list's own separators, and what an INI file quotes,
// splits on or starts a comment with.
bool needsEscape(QChar c)
{
    static const QString special = QStringLiteral("%|,;=\"\\#");
    return c.unicode() < 0x20 || c.unicode() == 0x7f || special.contains(c);
}

QString escapeNote(const QString& note)
{
    QString out;
    out.reserve(note.size());
    for (const QChar c : note) {
        if (needsEscape(c))
            out += u'%' + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            out += c;
    }
    return out;
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// "%" followed by two hex digits is one character; any other "%" stays as typed.
QString unescapeNote(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 2 < text.size() && isHexDigit(text[i + 1]) &&
            isHexDigit(text[i + 2])) {
            out += QChar(text.sliced(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
            continue;
        }
        out += text[i];
    }
    return out;
}

std::optional<DayOff> parseEntry(QStringView entry)
{
    QStringView head = entry;
    QString note;
    if (const qsizetype colon = entry.indexOf(kNoteMark); colon >= 0) {
        head = entry.first(colon).trimmed();
        note = unescapeNote(entry.sliced(colon + 1).trimmed()).trimmed();
    }
    DayOff day;
    day.note = note;
    if (const qsizetype at = head.indexOf(kHalfMark); at >= 0) {
        const auto part = DaysOff::partFromName(head.sliced(at + 1).trimmed().toString());
        if (!part)
            return std::nullopt;
        day.part = *part;
        head = head.first(at).trimmed();
    }
    day.date = QDate::fromString(head.toString(), Qt::ISODate);
    if (!day.date.isValid() || head.size() != 10)
        return std::nullopt;
    return day;
}

struct Cached
{
    QString raw;
    QList<DayOff> days;
};

std::shared_ptr<const Cached> current()
{
    static QMutex mutex;
    static std::shared_ptr<const Cached> cached;

    const QString raw = Store::standard().text(SettingsKeys::daysOff).value_or(QString());
    QMutexLocker lock(&mutex);
    // The status is computed many times a second; the list is parsed again only when it changed.
    if (!cached || (!raw.isSharedWith(cached->raw) && cached->raw != raw))
        cached = std::make_shared<Cached>(Cached{raw, DaysOff::parse(raw).days});
    return cached;
}

// Inside Store::edit, which writes the file once the change is made.
void write(const QList<DayOff>& days, const QStringList& unreadable)
{
    QString text = DaysOff::format(days);
    for (const QString& piece : unreadable)
        text += (text.isEmpty() ? QString() : QString(kEntrySeparator)) + piece;
    Store& store = Store::standard();
    if (text.isEmpty())
        store.remove(SettingsKeys::daysOff);
    else
        store.set(SettingsKeys::daysOff, text);
}

} // namespace

namespace DaysOff {

QString partName(DayOffPart part)
{
    switch (part) {
    case DayOffPart::morning:
        return QStringLiteral("am");
    case DayOffPart::afternoon:
        return QStringLiteral("pm");
    case DayOffPart::fullDay:
        break;
    }
    return QStringLiteral("full");
}

std::optional<DayOffPart> partFromName(const QString& name)
{
    const QString n = name.toLower();
    if (n == u"am")
        return DayOffPart::morning;
    if (n == u"pm")
        return DayOffPart::afternoon;
    if (n == u"full")
        return DayOffPart::fullDay;
    return std::nullopt;
}

QString format(const QList<DayOff>& days)
{
    QStringList entries;
    for (const DayOff& d : days) {
        QString entry = d.date.toString(Qt::ISODate);
        if (d.part != DayOffPart::fullDay)
            entry += kHalfMark + partName(d.part);
        const QString note = d.note.trimmed();
        if (!note.isEmpty())
            entry += kNoteMark + escapeNote(note);
        entries.append(entry);
    }
    return entries.join(kEntrySeparator);
}

Parsed parse(const QString& text)
{
    // A list typed by hand may use commas, and QSettings reads an unquoted comma list as a list
    // that the store joins with commas again: both separators are accepted.
    std::map<QDate, DayOff> byDate;
    Parsed parsed;
    for (const QStringView piece : QStringView(text).tokenize(u'|')) {
        for (QStringView entry : piece.tokenize(u',')) {
            entry = entry.trimmed();
            if (entry.isEmpty())
                continue;
            if (const auto day = parseEntry(entry))
                byDate[day->date] = *day;
            else
                parsed.unreadable.append(entry.toString());
        }
    }
    for (const auto& [date, day] : byDate)
        parsed.days.append(day);
    return parsed;
}

QList<DayOff> list()
{
    return current()->days;
}

std::optional<DayOff> on(const QDate& date)
{
    const auto cached = current();
    const auto it = std::lower_bound(cached->days.cbegin(), cached->days.cend(), date,
                                     [](const DayOff& d, const QDate& v) { return d.date < v; });
    if (it == cached->days.cend() || it->date != date)
        return std::nullopt;
    return *it;
}

// Read, changed and written under the store's writer lock: two commands adding at once each
// start from the other's entry instead of from what they read before it.
void add(const DayOff& dayOff)
{
    Store& store = Store::standard();
    store.edit([&] {
        Parsed parsed = parse(store.text(SettingsKeys::daysOff).value_or(QString()));
        parsed.days.removeIf([&](const DayOff& d) { return d.date == dayOff.date; });
        const auto at =
            std::lower_bound(parsed.days.begin(), parsed.days.end(), dayOff.date,
                             [](const DayOff& d, const QDate& v) { return d.date < v; });
        parsed.days.insert(at, DayOff{dayOff.date, dayOff.part, dayOff.note.trimmed()});
        write(parsed.days, parsed.unreadable);
    });
}

bool remove(const QDate& date)
{
    Store& store = Store::standard();
    bool removed = false;
    store.edit([&] {
        Parsed parsed = parse(store.text(SettingsKeys::daysOff).value_or(QString()));
        removed = parsed.days.removeIf([&](const DayOff& d) { return d.date == date; }) > 0;
        if (removed)
            write(parsed.days, parsed.unreadable);
    });
    return removed;
}

} // namespace DaysOff
