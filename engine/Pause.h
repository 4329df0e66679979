// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DayState.h"

// Today's manual state and the time spent paused. Resets itself lazily on a new day.
namespace Pause {

void ensureDay();
ManualState state();
void set(ManualState state, double now);
double pausedMinutes(double now);
// When the running break began (epoch seconds); 0 while working.
double startEpoch();
// Ends a break still running once the working day is over (`state` after lunch and the regular
// hours, or a day off), so the evening does not count as paused: at the day's regular end, or
// `now` on a day off or when the end is yet to come.
void endAfterWorkingDay(DayState state, double now);

} // namespace Pause
