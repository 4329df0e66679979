// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Pause.h"

#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/DayKey.h"
#include "engine/SettingsKeys.h"
#include "engine/Store.h"

#include <algorithm>

namespace K = SettingsKeys;

namespace Pause {

void ensureDay()
{
    // A pause still running from an earlier day is dropped: it belongs to neither day.
    ensureDayRecord(
        K::pauseDay,
        {{K::pausedSec, 0.0}, {K::pauseStart, 0.0}, {K::manualState, rawValue(ManualState::work)}});
}

ManualState state()
{
    ensureDay();
    const std::optional<QString> raw = Store::standard().text(K::manualState);
    return raw ? manualStateFromRaw(*raw).value_or(ManualState::work) : ManualState::work;
}

void set(ManualState state, double now)
{
    Store& ud = Store::standard();
    // The break's start and sum are read and written as one: the terminal and the menu may both
    // change them.
    ud.edit([&] {
        ensureDay();
        const double start = ud.real(K::pauseStart);
        if (state != ManualState::work) {
            if (start <= 0)
                ud.set(K::pauseStart, now);
        } else if (start > 0) {
            ud.set(K::pausedSec, storedSeconds(K::pausedSec) + std::max(now - start, 0.0));
            ud.set(K::pauseStart, 0.0);
        }
        ud.set(K::manualState, rawValue(state));
    });
}

double pausedMinutes(double now)
{
    ensureDay();
    const Store& ud = Store::standard();
    double seconds = storedSeconds(K::pausedSec);
    const double start = ud.real(K::pauseStart);
    if (start > 0)
        seconds += std::max(now - start, 0.0);
    return seconds / 60.0;
}

double startEpoch()
{
    ensureDay();
    if (state() == ManualState::work)
        return 0;
    return std::max(Store::standard().real(K::pauseStart), 0.0);
}

void endAfterWorkingDay(DayState state, double now)
{
    const bool dayRunning =
        state == DayState::before || state == DayState::working || state == DayState::lunch;
    if (dayRunning || Pause::state() == ManualState::work)
        return;
    const double workEnd =
        Clock::localMidnight(Clock::toLocal(now).date()) + double(Cfg::workEnd()) * 60.0;
    set(ManualState::work, state == DayState::off ? now : std::min(now, workEnd));
}

} // namespace Pause
