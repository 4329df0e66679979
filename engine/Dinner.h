// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Today's dinner breaks during overtime, in total and within the night window (00:00-06:00 and
// 22:00-24:00). Resets itself lazily on a new day.
namespace Dinner {

void ensureDay();
double startEpoch();
bool eating();
void begin(double now);
void end(double now);
double seconds(double now);
double nightSeconds(double now);
// Seconds of [start, end] inside the night window of the calendar day on which `end` falls.
double nightOverlapSec(double start, double end);

} // namespace Dinner
