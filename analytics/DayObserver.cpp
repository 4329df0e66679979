// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/DayObserver.h"

#include "analytics/Analytics.h"
#include "analytics/Derived.h"
#include "engine/Clock.h"
#include "engine/Pause.h"

#include <QDateTime>

namespace {

// The user's own break (menu or `tockwork-cli pause`), with the minutes paused so far today.
constexpr auto kPauseChanged = "Pause Changed";

} // namespace

void DayObserver::daySeen(const Status& status)
{
    phaseSeen(status);
    breakSeen();
}

void DayObserver::phaseSeen(const Status& status)
{
    const std::optional<DayState> previous = lastState_;
    if (previous && *previous == status.state)
        return;
    lastState_ = status.state;
    if (!previous)
        return;
    const QDateTime local = Clock::nowLocal();
    Analytics::track(
        Analytics::Event::workStatusChanged,
        {{QStringLiteral("from_state"), dayStateName(*previous)},
         {QStringLiteral("to_state"), dayStateName(status.state)},
         {QStringLiteral("minute_of_day"), local.time().hour() * 60 + local.time().minute()},
         {QStringLiteral("worked_min"), Analytics::Derived::workedMin(status)},
         {QStringLiteral("overtime_min"), Analytics::Derived::overtimeMin(status)},
         {QStringLiteral("wollu_min"), Analytics::Derived::wolluMin()},
         {QStringLiteral("progress_pct"), Analytics::Derived::progressPct(status)}});
}

void DayObserver::breakSeen()
{
    const ManualState state = Pause::state();
    const std::optional<ManualState> previous = lastManualState_;
    lastManualState_ = state;
    if (!previous || *previous == state)
        return;
    Analytics::track(kPauseChanged,
                     {{QStringLiteral("state"), rawValue(state)},
                      {QStringLiteral("paused_min"),
                       Analytics::Derived::rounded(Pause::pausedMinutes(Clock::now()))}});
}
