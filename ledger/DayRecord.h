// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

// What the calendar made of a day, and what the user made of it.
enum class DayKind
{
    working,
    weekend,
    holiday,
    dayOff,    // the user's own paid day off
    halfDayAm, // morning off
    halfDayPm, // afternoon off
    unknown    // a kind this version does not know: a newer version's, or a row edited by hand
};

QString
dayKindName(DayKind kind); // "working", "weekend", "holiday", "day_off", "half_am", ..., "unknown"
std::optional<DayKind> dayKindFromName(const QString& name);

struct SlackTarget
{
    QString label;
    double seconds = 0;
    bool operator==(const SlackTarget&) const = default;
};

// One row of the ledger: a calendar day on which the application ran. Minutes and won as the day's
// view computes them; a day is final once a later day has been recorded.
struct DayRecord
{
    QDate date;
    DayKind kind = DayKind::working;
    // The schedule in force, minutes after midnight.
    qint64 workStart = 0;
    qint64 workEnd = 0;
    qint64 lunchStart = 0;
    qint64 lunchEnd = 0;

    double workedMin = 0;
    double overtimeMin = 0;
    double overtimeNightMin = 0; // the part of overtimeMin in 22:00-06:00
    double dinnerMin = 0;

    double earnedWon = 0;      // regular pay, the paid part of a day off included
    double overtimeWon = 0;    // overtime pay
    double hourlyWon = 0;      // this month's rate behind earnedWon
    double hourlyLegalWon = 0; // the 21.75-day rate behind overtimeWon

    double slackSec = 0; // the day's slacking total
    // Seconds per reason ("away_screen", "idle", "app", "site", "system_sleep"); a reason absent
    // from the map was not measured that day.
    QMap<QString, double> slackByReason;
    QList<SlackTarget> topTargets; // at most three, largest first

    QString eodChoice; // "left", "overtime", or empty when not answered
    bool ran = true;
    bool final = false;
    double updatedAt = 0; // epoch seconds of the last write

    bool operator==(const DayRecord&) const = default;
};

// The slacking reasons, in the order their columns are kept.
const QStringList& slackReasons();
