#pragma once

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>

// Korean public holidays: fixed solar dates, the lunar holidays of the Korean lunisolar calendar
// and substitute days. Each year is computed once and kept for the life of the process.
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
// Forgets every computed year (benchmarks measure the first computation again).
void clearCache();
} // namespace internal

} // namespace Holidays
