// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/DayCapture.h"

#include "display/Pay.h"
#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/DaysOff.h"
#include "engine/Dinner.h"
#include "engine/Eod.h"
#include "engine/Holidays.h"
#include "engine/SettingsKeys.h"
#include "engine/Status.h"
#include "engine/Store.h"
#include "slacking/Wollu.h"

#include <cmath>

namespace {

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

} // namespace

DayKind dayKindOf(const QDate& date)
{
    const bool weekend = date.dayOfWeek() >= Qt::Saturday;
    const bool holiday = Holidays::isHoliday(date);
    // The user's own day off counts only on a day the calendar makes a working day.
    const bool calendarOff = Cfg::excludeWeekend() && (weekend || holiday);
    if (!calendarOff) {
        if (const std::optional<DayOff> own = DaysOff::on(date)) {
            switch (own->part) {
            case DayOffPart::fullDay:
                return DayKind::dayOff;
            case DayOffPart::morning:
                return DayKind::halfDayAm;
            case DayOffPart::afternoon:
                return DayKind::halfDayPm;
            }
        }
    }
    if (holiday)
        return DayKind::holiday;
    if (weekend)
        return DayKind::weekend;
    return DayKind::working;
}

DayRecord captureDay(double now, const std::optional<DayRecord>& earlier)
{
    DayRecord r;
    r.date = Clock::toLocal(now).date();
    r.kind = dayKindOf(r.date);
    r.workStart = Cfg::workStart();
    r.workEnd = Cfg::workEnd();
    r.lunchStart = Cfg::lunchStart();
    r.lunchEnd = Cfg::lunchEnd();

    const Status s = computeStatus(now);
    const DayPay pay = dayPay(s);
    r.workedMin = finiteOrZero(s.workedMin);
    r.earnedWon = pay.earnedWon;
    r.hourlyWon = pay.hourlyWon;
    r.hourlyLegalWon = pay.hourlyLegalWon;
    r.overtimeMin = finiteOrZero(s.overtimeMin);
    r.overtimeNightMin = pay.overtimeNightMin;
    r.overtimeWon = pay.overtimeWon;
    r.dinnerMin = finiteOrZero(Dinner::seconds(now)) / 60.0;

    if (Eod::chosenToday())
        r.eodChoice = Store::standard().text(SettingsKeys::eodChoice).value_or(QString());
    if (Eod::leftToday()) {
        // After leaving the day's overtime is what it was when the user left.
        const bool known = earlier && earlier->date == r.date;
        r.overtimeMin = known ? earlier->overtimeMin : 0;
        r.overtimeNightMin = known ? earlier->overtimeNightMin : 0;
        r.overtimeWon = known ? earlier->overtimeWon : 0;
        r.dinnerMin = known ? earlier->dinnerMin : r.dinnerMin;
    }

    // The day's total is all the store keeps; seconds per reason and targets come from a
    // breakdown of the day's slacking runs when one is kept.
    r.slackSec = finiteOrZero(Wollu::seconds());
    r.ran = true;
    r.updatedAt = now;
    return r;
}
