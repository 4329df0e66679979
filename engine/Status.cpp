// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Status.h"

#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/Dinner.h"
#include "engine/Eod.h"
#include "engine/Holidays.h"
#include "engine/Pause.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace {

// Stored durations come from a file the user can edit; a NaN would poison every comparison
// below (std::max(NaN, 0) is NaN), so anything that is not a finite number counts as nothing.
double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

// Minutes after local midnight, seconds included: worked time and money grow tick by tick.
double minuteOfDay(const QTime& time)
{
    return time.hour() * 60.0 + time.minute() + time.second() / 60.0;
}

bool isWeekend(const QDate& date)
{
    const int weekday = date.dayOfWeek(); // 1 = Monday ... 7 = Sunday
    return weekday == Qt::Saturday || weekday == Qt::Sunday;
}

bool isDayOff(const QDate& date)
{
    return Cfg::excludeWeekend() && (isWeekend(date) || Holidays::isHoliday(date));
}

// The user's own day off counts only on a day the calendar makes a working day.
std::optional<DayOff> ownDayOff(const QDate& date)
{
    if (isDayOff(date))
        return std::nullopt;
    return DaysOff::on(date);
}

// The worked half of a half day, in minutes after midnight: no lunch break inside it.
struct HalfDay
{
    double start = 0;
    double end = 0;
};

HalfDay halfDayOf(DayOffPart part, double ws, double we, double ls, double le)
{
    if (part == DayOffPart::morning)
        return {le, we};
    return {ws, ls};
}

// A full day off pays the whole day; a half day the part of it the worked half does not cover.
Status dayOffStatus(const DayOff& dayOff, double t, double paused, double ws, double we, double ls,
                    double le)
{
    const double fullTarget = std::max((we - ws) - std::max(le - ls, 0.0), 0.0);
    Status s;
    s.dayOff = dayOff.part;
    if (dayOff.part == DayOffPart::fullDay) {
        s.state = DayState::off;
        s.progress = 1;
        s.paidOffMin = fullTarget;
        return s;
    }
    const HalfDay half = halfDayOf(dayOff.part, ws, we, ls, le);
    const double target = std::max(half.end - half.start, 0.0);
    if (t < half.start)
        s.state = DayState::before;
    else if (t >= half.end)
        s.state = DayState::done; // the worked half is over: no end-of-day question, no overtime
    else
        s.state = DayState::working;
    const double worked = std::clamp(t - half.start, 0.0, target);
    s.workedMin = std::max(worked - paused, 0.0);
    s.progress = target > 0 ? std::clamp(s.workedMin / target, 0.0, 1.0) : 1.0;
    s.remainMin = std::max(target - s.workedMin, 0.0);
    s.paidOffMin = std::max(fullTarget - target, 0.0);
    return s;
}

} // namespace

Status computeStatus(double now)
{
    const QDateTime local = Clock::toLocal(now);
    const QDate date = local.date();
    const double t = minuteOfDay(local.time());

    const double ws = static_cast<double>(Cfg::workStart());
    const double we = static_cast<double>(Cfg::workEnd());
    const double ls = static_cast<double>(Cfg::lunchStart());
    const double le = static_cast<double>(Cfg::lunchEnd());
    const double paused = finiteOrZero(Pause::pausedMinutes(now));

    if (const std::optional<DayOff> own = ownDayOff(date))
        return dayOffStatus(*own, t, paused, ws, we, ls, le);

    Status s;
    // The holiday lookup runs only for people who take holidays off; lunch is tested before the
    // end of work so that a lunch placed after it still reads as lunch.
    if (isDayOff(date))
        s.state = DayState::off;
    else if (t < ws)
        s.state = DayState::before;
    else if (ls <= t && t < le)
        s.state = DayState::lunch;
    else if (t >= we)
        s.state = Dinner::eating() ? DayState::dinner : DayState::overtime;
    else
        s.state = DayState::working;

    const double lunch = std::max(le - ls, 0.0);
    const double target = (we - ws) - lunch;

    double worked = 0;
    if (t <= ws) {
        worked = 0;
    } else if (t >= we) {
        worked = target;
    } else {
        const double x = t - ws;
        double inSchedule = x;
        if (t >= le)
            inSchedule = x - lunch;
        else if (t > ls)
            inSchedule = x - (t - ls); // the clock stands still over lunch
        worked = std::max(std::min(inSchedule, target), 0.0);
    }

    s.workedMin = std::max(worked - paused, 0.0);
    s.progress = target > 0 ? std::clamp(s.workedMin / target, 0.0, 1.0) : 1.0;
    s.remainMin = std::max(target - s.workedMin, 0.0);
    if (s.state == DayState::overtime || s.state == DayState::dinner) {
        const double dinnerMin = finiteOrZero(Dinner::seconds(now)) / 60.0;
        s.overtimeMin = std::max(std::max(t - we, 0.0) - dinnerMin, 0.0);
    }
    return s;
}

double sleptWorkSeconds(double from, double to)
{
    if (!(from < to)) // also refuses NaN
        return 0;
    const QDate day = Clock::toLocal(to).date();
    const double m0 = Clock::localMidnight(day);
    // Only the part of the sleep on the day of waking counts.
    const double s = std::max(from, m0);
    if (s >= to)
        return 0;
    if (isDayOff(day))
        return 0;
    if (Eod::leftToday())
        return 0;

    const double a = (s - m0) / 60.0;
    const double b = (to - m0) / 60.0;
    const double ws = static_cast<double>(Cfg::workStart());
    const double ls = static_cast<double>(Cfg::lunchStart());
    const double le = static_cast<double>(Cfg::lunchEnd());

    if (const std::optional<DayOff> own = ownDayOff(day)) {
        if (own->part == DayOffPart::fullDay)
            return 0;
        // A half day ends with its worked half: there is no overtime to sleep through.
        const HalfDay half = halfDayOf(own->part, ws, static_cast<double>(Cfg::workEnd()), ls, le);
        return std::max(std::min(b, half.end) - std::max(a, half.start), 0.0) * 60.0;
    }

    // The end of work does not bound the result: sleeping through overtime is paid time too.
    double w = b - std::max(a, ws);
    if (w < 0)
        return 0;
    const double lunch = std::min(b, le) - std::max(a, std::max(ls, ws));
    if (lunch >= 0)
        w = std::max(w - lunch, 0.0);
    return w * 60.0;
}

double minutesPastWorkEnd()
{
    const QTime time = Clock::nowLocal().time();
    return time.hour() * 60.0 + time.minute() - static_cast<double>(Cfg::workEnd());
}
