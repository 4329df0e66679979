// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ledger/DayRecord.h"

#include <optional>

// Today's ledger row at instant `now`, from the store and the clock as the day's view sees them.
// `earlier` is today's row as last written: once the user has left, the overtime they did stays
// as it was then (the store keeps no time of leaving, and the clock alone would count on).
DayRecord captureDay(double now, const std::optional<DayRecord>& earlier = std::nullopt);

// What the calendar and the user's own days off make of `date`.
DayKind dayKindOf(const QDate& date);
