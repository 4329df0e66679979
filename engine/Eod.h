// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The end-of-day answer: "left" or "overtime", and the day it was given.
namespace Eod {

void choose(const QString& choice);
bool chosenToday();
bool leftToday();
// When the user left today (epoch seconds), if today's answer is "left" and its instant is known:
// the day's overtime ends there.
std::optional<double> leftAt();

} // namespace Eod
