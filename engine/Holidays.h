// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>

// Korean public holidays: fixed solar dates, the lunar holidays of the Korean lunisolar calendar,
// substitute days by the rules in force that year, the elections and one-off holidays declared so
// far, and the regular elections to come. Each year is computed once and kept for the life of the
// process.
namespace Holidays {

bool isHoliday(const QDate& date);
// The holiday set of one year as day-of-year numbers (1 = 1 January).
QSet<int> compute(int year);

struct Named
{
    QDate date;
    QString name;
};
// Every holiday of `year` in date order, named (substitute days say so).
QList<Named> named(int year);

namespace internal {
// The polling day of a regular election for a term ending on `termEnd`: the first Wednesday on
// or after `daysBefore` days before it (70 for the president, 50 for the National Assembly, 30
// for local councils), a week later while that day or a neighbour is a holiday.
QDate electionDay(const QDate& termEnd, int daysBefore);
// Forgets every computed year (benchmarks measure the first computation again).
void clearCache();
} // namespace internal

} // namespace Holidays
