// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DayState.h"
#include "engine/Status.h"

#include <QObject>

#include <optional>

// Turns the day as the application shows it into analytics events: a change of the day's phase
// ("Work Status Changed") and of the user's own break ("Pause Changed"). The first day seen after
// launch only sets where changes are counted from.
class DayObserver final : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Connected to the application's signal of every update.
    void daySeen(const Status& status);

private:
    void phaseSeen(const Status& status);
    void breakSeen();

    std::optional<DayState> lastState_;
    std::optional<ManualState> lastManualState_;
};
