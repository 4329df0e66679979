// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Phase of the work day.
enum class DayState
{
    off,
    before,
    lunch,
    working,
    overtime,
    dinner,
    done
};

// The user's manual state, stored by its raw text.
enum class ManualState
{
    work,
    rest,
    away
};

QString dayStateName(DayState state); // "off", "before", ...

QString rawValue(ManualState state); // "work", "rest", "away"
std::optional<ManualState> manualStateFromRaw(const QString& raw);
