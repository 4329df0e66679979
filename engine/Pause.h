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

} // namespace Pause
