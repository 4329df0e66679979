// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DayState.h"
#include "engine/DaysOff.h"

#include <optional>

// The work day at one instant.
struct Status
{
    DayState state = DayState::off;
    double progress = 0;    // share of the scheduled day worked, 0...1
    double workedMin = 0;   // minutes worked within the schedule, pauses deducted
    double remainMin = 0;   // scheduled minutes still to work
    double overtimeMin = 0; // minutes past the scheduled end, dinner deducted
    // The user's own paid day off today, when the calendar makes it a working day. A full day is
    // `off`; a half day moves the schedule and ends in `done`, with no overtime and no lunch.
    std::optional<DayOffPart> dayOff = std::nullopt;
    double paidOffMin = 0; // scheduled minutes paid without being worked: the day off's part

    bool operator==(const Status&) const = default;
};

// `now` is an instant in epoch seconds.
Status computeStatus(double now);
// Paid working seconds covered by a sleep from `from` to `to` (epoch seconds).
double sleptWorkSeconds(double from, double to);
// Minutes of the local clock past the scheduled end of work; negative before it.
double minutesPastWorkEnd();
