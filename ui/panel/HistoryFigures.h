// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ledger/DayRecord.h"
#include "ledger/History.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// What the panel's history strip shows, computed from ledger rows alone (no drawing, no files):
// which days get a bar, how tall each bar and its red top are, and the totals line under them.

enum class HistorySpan
{
    week, // "최근 7일": the last seven working days, and their totals
    month // "이번 달": every working day of this month; totals from the 1st to today
};

struct HistorySlot
{
    QDate date;
    std::optional<DayRecord> row; // none: a gap (the application did not run) or a day to come
    bool today = false;
    bool future = false;
    bool counted = false; // its row is in the totals: every day drawn up to today
    double totalWon = 0;  // regular pay and overtime pay
    double slackWon = 0;  // the slacking seconds at the day's rate
    int barPx = 0;        // the bar's height in points, outline included; 0: no bar
    int slackPx = 0;      // of which the red top
    bool operator==(const HistorySlot&) const = default;
};

struct HistoryView
{
    HistorySpan span = HistorySpan::week;
    QDate from; // the first day drawn, to today: the period the totals cover, both ends included
    QDate to;
    QList<HistorySlot> slots; // in date order
    HistoryTotals totals;
    QString heading;   // "최근 7일", "이번 달": the view's one name, as its switch calls it
    QString moneyText; // "612,400원"
    QString overtimeText; // "야근 3시간 10분"
    QString slackText;    // "월루 2시간 5분 (9%)"; the share only when there was regular pay

    // "야근 3시간 10분 · 월루 2시간 5분 (9%)"
    QString detailText() const;

    // "최근 7일 612,400원 · 야근 3시간 10분 · 월루 2시간 5분 (9%)"
    QString totalsLine() const;
};

// Whether the user works on `date` by the calendar: every day, or without weekends and public
// holidays when the settings say so. A paid day off is a working day (the salary pays for it).
using WorkingDayRule = std::function<bool(const QDate&)>;
bool calendarWorkingDay(const QDate& date);

// The first day whose row `historyView` may need for `span` up to `today`.
QDate historyReadFrom(HistorySpan span, const QDate& today);

// The strip for `span` on `today` from the rows read since historyReadFrom(). Bars are at most
// `maxBarPx` points high; the tallest day, or a full scheduled day's pay when that is more,
// reaches it. A working day without a row stays a gap; a weekend or holiday shows only when it
// has a row with pay (work on a day off).
HistoryView historyView(HistorySpan span, const QDate& today, const QList<DayRecord>& rows,
                        const WorkingDayRule& isWorkingDay, int maxBarPx);

// The span's name, the same in its heading and on the switch to it: "최근 7일", "이번 달".
QString historySpanName(HistorySpan span);
