// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// The user's own paid days off (annual leave, half days, company holidays): no calendar rule
// knows them, so they are settings, kept in the store under "daysOff". A paid day off stays one of
// the month's working days: the salary pays for it.
enum class DayOffPart
{
    fullDay,
    morning,  // 오전 반차: work from the end of lunch to the end of work
    afternoon // 오후 반차: work from the start of work to the start of lunch
};

struct DayOff
{
    QDate date;
    DayOffPart part = DayOffPart::fullDay;
    QString note;

    bool operator==(const DayOff&) const = default;
};

namespace DaysOff {

// The stored list, one entry per date, in date order; entries that cannot be read are skipped.
QList<DayOff> list();
std::optional<DayOff> on(const QDate& date);
// Adds `dayOff`, replacing an entry for the same date, and writes the store.
void add(const DayOff& dayOff);
// Removes the entry for `date` and writes the store; false when there was none.
bool remove(const QDate& date);

// The stored text. Entries are joined by "|": "2026-12-24", "2026-12-31@pm",
// "2027-01-02:창립기념일". A note keeps "%" and the characters INI files treat specially
// (",", ";", "=", quotes, backslash, "|") percent-encoded, so the text never holds a comma and
// reads back the same whoever wrote the file; a list typed by hand with commas still reads.
QString format(const QList<DayOff>& days);
struct Parsed
{
    QList<DayOff> days;     // in date order, the last entry for a date wins
    QStringList unreadable; // kept verbatim, so rewriting the list loses nothing typed by hand
};
Parsed parse(const QString& text);

QString partName(DayOffPart part); // "full", "am", "pm"
std::optional<DayOffPart> partFromName(const QString& name);

} // namespace DaysOff
