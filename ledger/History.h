// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ledger/DayRecord.h"

#include <QList>

// Sums over a stretch of the ledger, the way the day's view computes one day.
struct HistoryTotals
{
    int days = 0; // days with a row
    double workedMin = 0;
    double earnedWon = 0; // regular pay, paid days off included
    double overtimeMin = 0;
    double overtimeWon = 0;
    double slackSec = 0;
    double slackWon = 0; // the slacking seconds at each day's own rate

    double totalWon() const { return earnedWon + overtimeWon; }
    // Slacking money as a share of the regular pay, rounded half away from zero; 0 without pay.
    qint64 slackSharePercent() const;
};

// A day's slacking in won: the seconds at that day's hourly rate.
double slackWonOf(const DayRecord& day);
HistoryTotals totalsOf(const QList<DayRecord>& days);
