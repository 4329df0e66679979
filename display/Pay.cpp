// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/Pay.h"

#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/Dinner.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace {

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

// Overtime minutes inside the night window (00:00-06:00, 22:00-24:00) since the scheduled end;
// dinner taken at night comes off them first.
double overtimeNightMinutes(const Status& s, double now)
{
    const QTime time = Clock::toLocal(now).time();
    const double t = time.hour() * 60.0 + time.minute() + time.second() / 60.0;
    const double we = static_cast<double>(Cfg::workEnd());

    const double early = std::max(std::min(t, 360.0) - std::max(we, 0.0), 0.0);
    const double late = std::max(std::min(t, 1440.0) - std::max(we, 1320.0), 0.0);
    const double night = std::min(early + late - finiteOrZero(Dinner::nightSeconds(now)) / 60.0,
                                  finiteOrZero(s.overtimeMin));
    return std::max(night, 0.0);
}

} // namespace

DayPay dayPay(const Status& s)
{
    return dayPay(s, Clock::now());
}

DayPay dayPay(const Status& s, double at)
{
    DayPay pay;
    pay.hourlyWon = finiteOrZero(Cfg::hourlyWonThisMonth());
    pay.hourlyLegalWon = finiteOrZero(Cfg::hourlyWonLegal());
    const double paidMin = finiteOrZero(s.workedMin) + finiteOrZero(s.paidOffMin);
    pay.earnedWon = paidMin / 60.0 * pay.hourlyWon;
    pay.remainWon = finiteOrZero(s.remainMin) / 60.0 * pay.hourlyWon;
    if (s.state == DayState::overtime || s.state == DayState::dinner) {
        // Overtime earns 1.5 times the 21.75-day rate, its night minutes 2.0 times.
        const double overtimeMin = std::max(finiteOrZero(s.overtimeMin), 0.0);
        pay.overtimeNightMin = overtimeNightMinutes(s, at);
        const double plain = std::max(overtimeMin - pay.overtimeNightMin, 0.0);
        pay.overtimeWon = pay.hourlyLegalWon / 60.0 * (plain * 1.5 + pay.overtimeNightMin * 2.0);
    }
    return pay;
}
