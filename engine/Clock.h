// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// The one source of "the present instant". Everything that asks what time it is asks here, so
// tests and the terminal companion's --at can freeze time for the whole process.
namespace Clock {

// Seconds since 1970-01-01 00:00 UTC, with the fraction.
double now();
// The present instant as a local date and time (the process's time zone, TZ honoured).
QDateTime nowLocal();

void freeze(double epochSeconds);
void advance(double seconds); // only meaningful while frozen
void unfreeze();
bool frozen();

// Conversions shared by everything that turns instants into calendar days. The local date and
// time carry the UTC offset in force at that instant (a fixed offset, not Qt::LocalTime): for
// calendar arithmetic take the date and use localMidnight().
QDateTime toLocal(double epochSeconds);
double toEpoch(const QDateTime& dateTime);
// The instant local midnight begins `date` (from the calendar, so daylight-saving days are right).
double localMidnight(const QDate& date);

} // namespace Clock
