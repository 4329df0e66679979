#pragma once

#include "engine/DayState.h"

// The work day at one instant.
struct Status
{
    DayState state = DayState::off;
    double progress = 0;    // share of the scheduled day worked, 0...1
    double workedMin = 0;   // minutes worked within the schedule, pauses deducted
    double remainMin = 0;   // scheduled minutes still to work
    double overtimeMin = 0; // minutes past the scheduled end, dinner deducted

    bool operator==(const Status&) const = default;
};

// `now` is an instant in epoch seconds.
Status computeStatus(double now);
// Paid working seconds covered by a sleep from `from` to `to` (epoch seconds).
double sleptWorkSeconds(double from, double to);
// Minutes of the local clock past the scheduled end of work; negative before it.
double minutesPastWorkEnd();
