// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Every key the engine keeps in the store, with its default and meaning, in one place.
// Times of day are whole minutes after local midnight; instants are epoch seconds.
namespace SettingsKeys {

struct IntSetting
{
    QString key;
    qint64 def;
};

struct BoolSetting
{
    QString key;
    bool def;
};

// The user's schedule and salary, written by the settings window.
inline const IntSetting workStart{QStringLiteral("workStart"), 540};   // 09:00
inline const IntSetting workEnd{QStringLiteral("workEnd"), 1080};      // 18:00
inline const IntSetting lunchStart{QStringLiteral("lunchStart"), 720}; // 12:00, unpaid
inline const IntSetting lunchEnd{QStringLiteral("lunchEnd"), 780};     // 13:00
// Won per month; below 1 means no salary has been entered.
inline const IntSetting monthlySalaryWon{QStringLiteral("monthlySalaryWon"), 0};
// The salary was entered before tax ("세전") rather than after ("세후"); only the tag depends on
// it.
inline const BoolSetting salaryPretax{QStringLiteral("salaryPretax"), true};
// Money amounts carry the tag "(세전)".
inline const BoolSetting showPretaxTag{QStringLiteral("showPretaxTag"), true};
// Saturdays, Sundays and public holidays are days off.
inline const BoolSetting excludeWeekend{QStringLiteral("excludeWeekend"), true};
// The user's own paid days off and half days (DaysOff), absent when there are none.
inline const QString daysOff = QStringLiteral("daysOff");

// Pause record, reset on the first access of a new day.
inline const QString pauseDay = QStringLiteral("pauseDay");       // day key the record belongs to
inline const QString pausedSec = QStringLiteral("pausedSec");     // completed pauses, seconds
inline const QString pauseStart = QStringLiteral("pauseStart");   // running pause began; 0 = none
inline const QString manualState = QStringLiteral("manualState"); // "work", "rest" or "away"

// Dinner record (breaks during overtime), reset on the first access of a new day.
inline const QString dinnerDay = QStringLiteral("dinnerDay");
inline const QString dinnerSec = QStringLiteral("dinnerSec");           // completed breaks
inline const QString dinnerNightSec = QStringLiteral("dinnerNightSec"); // their 22:00-06:00 part
inline const QString dinnerStart = QStringLiteral("dinnerStart");       // 0 = not eating

// End-of-day answer: "left" or "overtime", and the day key it was given on.
inline const QString eodChoice = QStringLiteral("eodChoice");
inline const QString eodDay = QStringLiteral("eodDay");
inline const QString eodAt = QStringLiteral("eodAt"); // the instant of the answer, epoch seconds

} // namespace SettingsKeys
