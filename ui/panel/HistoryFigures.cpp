// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/HistoryFigures.h"

#include "display/Format.h"
#include "engine/Cfg.h"
#include "engine/Holidays.h"

#include <QMap>

#include <algorithm>
#include <cmath>

namespace {

// Far enough back to find seven working days across the longest run of holidays (Chuseok next
// to a weekend and a day off of one's own).
constexpr int kWeekLookBackDays = 62;
constexpr int kWeekSlots = 7;

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

bool workedKind(DayKind kind)
{
    return kind == DayKind::working || kind == DayKind::dayOff || kind == DayKind::halfDayAm ||
           kind == DayKind::halfDayPm;
}

double totalWonOf(const DayRecord& row)
{
    return std::max(0.0, finiteOrZero(row.earnedWon) + finiteOrZero(row.overtimeWon));
}

// A full day's regular pay by the row's own schedule and rate: the height a finished day reaches.
double scheduledWonOf(const DayRecord& row)
{
    const qint64 lunch = std::max<qint64>(0, row.lunchEnd - row.lunchStart);
    const qint64 minutes = std::clamp<qint64>(row.workEnd - row.workStart - lunch, 0, 24 * 60);
    return std::max(0.0, finiteOrZero(row.hourlyWon) * double(minutes) / 60.0);
}

HistorySlot slotFor(const QDate& date, const QDate& today, const QMap<QDate, DayRecord>& byDate)
{
    HistorySlot slot;
    slot.date = date;
    slot.today = date == today;
    slot.future = date > today;
    if (const auto it = byDate.constFind(date); it != byDate.cend() && !slot.future) {
        slot.row = *it;
        slot.totalWon = totalWonOf(*it);
        slot.slackWon = std::clamp(slackWonOf(*it), 0.0, slot.totalWon);
    }
    return slot;
}

void scaleBars(QList<HistorySlot>& slots, int maxBarPx)
{
    double reference = 0;
    for (const HistorySlot& s : slots)
        if (s.row)
            reference = std::max({reference, s.totalWon, scheduledWonOf(*s.row)});
    // Outline above and below, and at least one row of colour between them.
    constexpr int kOutline = 2;
    const int tallest = std::max(maxBarPx, kOutline + 1);
    for (HistorySlot& s : slots) {
        if (!s.row || !(s.totalWon > 0) || !(reference > 0))
            continue;
        const double share = std::min(1.0, s.totalWon / reference);
        s.barPx = std::clamp(int(std::lround(share * tallest)), kOutline + 1, tallest);
        const int body = s.barPx - kOutline;
        if (s.slackWon > 0) {
            // Any slacking at all shows as at least one red row.
            const int red = int(std::lround(body * s.slackWon / s.totalWon));
            s.slackPx = std::clamp(red, 1, body);
        }
    }
}

} // namespace

QString historySpanName(HistorySpan span)
{
    return span == HistorySpan::month ? QStringLiteral("이번 달") : QStringLiteral("최근 7일");
}

QString HistoryView::totalsLine() const
{
    return heading + u' ' + moneyText + QStringLiteral(" · ") + detailText();
}

QString HistoryView::detailText() const
{
    return overtimeText + QStringLiteral(" · ") + slackText;
}

bool calendarWorkingDay(const QDate& date)
{
    if (!Cfg::excludeWeekend())
        return true;
    return date.dayOfWeek() < Qt::Saturday && !Holidays::isHoliday(date);
}

QDate historyReadFrom(HistorySpan span, const QDate& today)
{
    if (span == HistorySpan::month)
        return QDate(today.year(), today.month(), 1);
    return today.addDays(-kWeekLookBackDays);
}

HistoryView historyView(HistorySpan span, const QDate& today, const QList<DayRecord>& rows,
                        const WorkingDayRule& isWorkingDay, int maxBarPx)
{
    HistoryView view;
    view.span = span;
    view.to = today;
    view.from = span == HistorySpan::month ? QDate(today.year(), today.month(), 1) : today;
    view.heading = historySpanName(span);

    QMap<QDate, DayRecord> byDate;
    for (const DayRecord& r : rows)
        if (r.date.isValid())
            byDate.insert(r.date, r);

    const auto shown = [&](const QDate& date) {
        const auto it = byDate.constFind(date);
        if (it != byDate.cend() && (workedKind(it->kind) || totalWonOf(*it) > 0))
            return true;
        return isWorkingDay && isWorkingDay(date);
    };

    if (span == HistorySpan::week) {
        for (int back = 0; back <= kWeekLookBackDays && view.slots.size() < kWeekSlots; ++back) {
            const QDate date = today.addDays(-back);
            if (shown(date))
                view.slots.prepend(slotFor(date, today, byDate));
        }
    } else {
        for (QDate date = view.from; date.month() == today.month() && date.isValid();
             date = date.addDays(1)) {
            // Days to come show only as the working days they will be.
            const bool show = date > today ? (isWorkingDay && isWorkingDay(date)) : shown(date);
            if (show)
                view.slots.append(slotFor(date, today, byDate));
        }
    }
    if (span == HistorySpan::week && !view.slots.isEmpty())
        view.from = view.slots.first().date;
    scaleBars(view.slots, maxBarPx);

    // The totals add up exactly the bars drawn: a day that ran without pay on a weekend has no
    // bar, and its slacking is not in them either.
    QList<DayRecord> drawn;
    for (HistorySlot& s : view.slots) {
        s.counted = s.row.has_value() && !s.future;
        if (s.counted)
            drawn.append(*s.row);
    }
    view.totals = totalsOf(drawn);

    const HistoryTotals& t = view.totals;
    view.moneyText = fmtWon(t.totalWon());
    view.overtimeText = QStringLiteral("야근 ") + fmtMinutes(t.overtimeMin);
    view.slackText = QStringLiteral("월루 ") + fmtMinutes(t.slackSec / 60.0);
    if (t.earnedWon > 0)
        view.slackText +=
            QStringLiteral(" (") + QString::number(t.slackSharePercent()) + QStringLiteral("%)");
    return view;
}
