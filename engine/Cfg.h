// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The user's schedule and salary. Every getter reads the store when called; times of day are
// whole minutes after local midnight. Any stored value, however odd, yields finite figures.
namespace Cfg {

qint64 ud(const QString& key, qint64 def);
bool udBool(const QString& key, bool def);

qint64 workStart();
qint64 workEnd();
qint64 lunchStart();
qint64 lunchEnd();
qint64 monthlySalaryWon();
bool salaryPretax();
bool showPretaxTag();
bool excludeWeekend();

void save(qint64 workStart, qint64 workEnd, qint64 lunchStart, qint64 lunchEnd,
          qint64 monthlySalaryWon, bool excludeWeekend);
void setSalaryPretax(bool value);
void setShowPretaxTag(bool value);

// Scheduled paid minutes of a working day.
double dailyWorkMinutes();
// Won per hour over the fixed 21.75-day month (overtime pay).
double hourlyWonLegal();
// Won per hour over this month's working days; 0 or less when no salary is set.
double hourlyWonThisMonth();
// Working days in the current calendar month; cached until the month or the store changes.
int workingDaysThisMonth();
// Forgets the cached working-day count.
void clearMonthCache();

} // namespace Cfg
