// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/History.h"

#include <algorithm>
#include <cmath>

namespace {

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

} // namespace

double slackWonOf(const DayRecord& day)
{
    return finiteOrZero(day.hourlyWon * day.slackSec / 3600.0);
}

qint64 HistoryTotals::slackSharePercent() const
{
    if (!(earnedWon > 0))
        return 0;
    const double share = std::round(slackWon / earnedWon * 100.0);
    // A share this large only arises from a sliver of pay; the bound keeps it printable.
    return static_cast<qint64>(std::clamp(finiteOrZero(share), 0.0, 999999.0));
}

HistoryTotals totalsOf(const QList<DayRecord>& days)
{
    HistoryTotals t;
    for (const DayRecord& d : days) {
        ++t.days;
        t.workedMin += finiteOrZero(d.workedMin);
        t.earnedWon += finiteOrZero(d.earnedWon);
        t.overtimeMin += finiteOrZero(d.overtimeMin);
        t.overtimeWon += finiteOrZero(d.overtimeWon);
        t.slackSec += finiteOrZero(d.slackSec);
        t.slackWon += slackWonOf(d);
    }
    return t;
}
