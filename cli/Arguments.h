// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DayState.h"
#include "engine/DaysOff.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace Cli {

enum class Command
{
    status,
    holidays,
    dayoff,
    history,
    pause,
    help,
    version
};
enum class Style
{
    full,
    line,
    json,
    csv
};

enum class DayOffAction
{
    add,
    remove,
    list
};

// Days the history covers; `from` and `to` are filled in when the command line is read.
enum class Period
{
    week,  // Monday of this week to today
    month, // the first of this month to today
    range  // --from to --to, both included
};

struct Options
{
    Command command = Command::status;
    Style style = Style::full;
    bool watch = false;
    std::optional<double> at; // epoch seconds to evaluate at instead of now
    int firstYear = 0;
    int lastYear = 0;

    DayOffAction dayOffAction = DayOffAction::list;
    DayOff dayOff;

    ManualState pauseState = ManualState::work;

    Period period = Period::week;
    QDate from;
    QDate to;
};

struct UsageError
{
    QString message;
};

// Years the holiday calendar is asked about; far outside them the lunar tables mean nothing.
inline constexpr int kMinYear = 1900;
inline constexpr int kMaxYear = 2200;

// `arguments` without the program name.
std::variant<Options, UsageError> parseArguments(const QStringList& arguments);
// "YYYY-MM-DD" (leading zeros optional); none when malformed or outside the years handled.
std::optional<QDate> parseDate(const QString& text);
// "YYYY-MM-DD HH:MM[:SS]" in local time, as epoch seconds; none when malformed or nonexistent.
std::optional<double> parseLocalDateTime(const QString& text);

QString usage();

} // namespace Cli
