// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DayState.h"

#include <optional>

// Process-wide preview values for screenshots and demos; unset in normal use.
namespace Preview {

struct DemoWollu
{
    double sec = 0;
    bool hidden = false;
    bool disabled = false;
};

// Chosen by "--state": currentDisplay() shows a fixed status for it.
inline std::optional<DayState> demoState;
// No "(세전)" tag is shown.
inline bool demoMode = false;
// Replaces the day's slacking total and flags in buildDisplay().
inline std::optional<DemoWollu> demoWollu;

} // namespace Preview
