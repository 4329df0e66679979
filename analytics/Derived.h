// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "engine/Status.h"

// The figures several events share, computed the same way wherever they are sent. Rounding is
// to the nearest whole number, halves away from zero.
namespace Analytics::Derived {

QString state(const Status& status);      // "off", "before", ... "done"
qint64 workedMin(const Status& status);   // rounded
qint64 overtimeMin(const Status& status); // rounded
qint64 progressPct(const Status& status); // progress x 100, rounded
qint64 wolluMin();                        // today's slacking seconds / 60, rounded
qint64 minutesPastWorkEnd();              // truncated toward zero
qint64 dinnerMin(double now);             // today's dinner seconds / 60, rounded
double dailyWorkHours();                  // two decimals
qint64 lunchMinutes();                    // 0 when the lunch ends before it starts

// Nearest whole number, halves away from zero; 0 for NaN, clamped to the 64-bit range.
qint64 rounded(double value);

} // namespace Analytics::Derived
