// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Status.h"

// What the day's time is worth in won, at the present instant of the clock.
struct DayPay
{
    double hourlyWon = 0;        // this month's rate: regular pay, what remains, slacking
    double hourlyLegalWon = 0;   // the 21.75-day rate: overtime
    double earnedWon = 0;        // regular pay so far, the paid part of a day off included
    double remainWon = 0;        // regular pay still to earn today
    double overtimeWon = 0;      // overtime pay so far
    double overtimeNightMin = 0; // overtime minutes inside the night window, paid 2.0 times
};

DayPay dayPay(const Status& s);
// The same for a status computed at the instant `at` (epoch seconds): the night window is read
// at that instant's local time.
DayPay dayPay(const Status& s, double at);
