// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Dinner.h"

#include "engine/Clock.h"
#include "engine/DayKey.h"
#include "engine/SettingsKeys.h"
#include "engine/Store.h"

#include <algorithm>

namespace K = SettingsKeys;

namespace {

// The night window of a day: 00:00-06:00 and 22:00-24:00, in minutes after local midnight.
constexpr double kEarlyNightEndMin = 360;
constexpr double kLateNightStartMin = 1320;
constexpr double kDayMin = 1440;

} // namespace

namespace Dinner {

void ensureDay()
{
    // A break still running from an earlier day is dropped: it belongs to neither day.
    ensureDayRecord(K::dinnerDay,
                    {{K::dinnerSec, 0.0}, {K::dinnerNightSec, 0.0}, {K::dinnerStart, 0.0}});
}

double startEpoch()
{
    ensureDay();
    return Store::standard().real(K::dinnerStart);
}

bool eating()
{
    return startEpoch() > 0;
}

void begin(double now)
{
    ensureDay();
    Store& ud = Store::standard();
    if (ud.real(K::dinnerStart) > 0)
        return;
    ud.set(K::dinnerStart, now);
    ud.flush();
}

void end(double now)
{
    ensureDay();
    Store& ud = Store::standard();
    const double start = ud.real(K::dinnerStart);
    if (start <= 0)
        return;
    ud.set(K::dinnerSec, storedSeconds(K::dinnerSec) + std::max(now - start, 0.0));
    ud.set(K::dinnerNightSec, storedSeconds(K::dinnerNightSec) + nightOverlapSec(start, now));
    ud.set(K::dinnerStart, 0.0);
    ud.flush();
}

double seconds(double now)
{
    ensureDay();
    const Store& ud = Store::standard();
    const double start = ud.real(K::dinnerStart);
    return storedSeconds(K::dinnerSec) + (start > 0 ? std::max(now - start, 0.0) : 0.0);
}

double nightSeconds(double now)
{
    ensureDay();
    const Store& ud = Store::standard();
    const double start = ud.real(K::dinnerStart);
    return storedSeconds(K::dinnerNightSec) + (start > 0 ? nightOverlapSec(start, now) : 0.0);
}

double nightOverlapSec(double start, double end)
{
    if (!(start < end))
        return 0;
    const double midnight = Clock::localMidnight(Clock::toLocal(end).date());
    const double s = (start - midnight) / 60.0;
    const double e = (end - midnight) / 60.0;
    const double early = std::max(0.0, std::min(e, kEarlyNightEndMin) - std::max(s, 0.0));
    const double late = std::max(0.0, std::min(e, kDayMin) - std::max(s, kLateNightStartMin));
    return (early + late) * 60.0;
}

} // namespace Dinner
