// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's history strip reads the ledger on the GUI thread, at most once a minute while the
// panel is open: a reading must stay far below a frame (budget 2 ms, the panel's own refresh),
// with ten years of rows in the file. Drawing it is part of every repaint of the panel.

#include "engine/Clock.h"
#include "ledger/DayCapture.h"
#include "ledger/Ledger.h"
#include "render/MonaFont.h"
#include "ui/panel/HistoryStrip.h"

#include <QDateTime>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QDate kToday(2026, 12, 3);

// A ledger with a row for every day of ten years up to today, written in one transaction.
class TenYearsOfDays
{
public:
    TenYearsOfDays() : path_(dir_.filePath(QStringLiteral("days.sqlite")))
    {
        {
            Ledger schema(path_, Ledger::Access::readWrite);
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                        QStringLiteral("history-bench"));
            db.setDatabaseName(path_);
            db.open();
            db.transaction();
            QSqlQuery q(db);
            q.prepare(QStringLiteral(
                "INSERT INTO days (day, kind, work_start, work_end, lunch_start, lunch_end,"
                " worked_min, earned_won, hourly_won, slack_sec, final)"
                " VALUES (?, 'working', 540, 1080, 720, 780, 480, 142857, 17857, 1800, 1)"));
            for (QDate d = kToday.addYears(-10); d <= kToday; d = d.addDays(1)) {
                q.addBindValue(d.toString(Qt::ISODate));
                q.exec();
            }
            db.commit();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("history-bench"));
    }
    QString path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};

// The strip over `days` with weekdays as working days, on the span the benchmark's argument
// names (0: the week, 1: the month).
void showWeekdays(HistoryStrip& strip, const TenYearsOfDays& days, benchmark::State& state)
{
    strip.setLedgerPath(days.path());
    strip.setWorkingDayRule([](const QDate& d) { return d.dayOfWeek() < Qt::Saturday; });
    strip.setSpan(state.range(0) ? HistorySpan::month : HistorySpan::week);
    state.SetLabel(state.range(0) ? "month" : "week");
}

// A reading over an open connection, as every minute after the first.
void BM_HistoryStripReload(benchmark::State& state)
{
    Clock::freeze(Clock::toEpoch(QDateTime(kToday, QTime(15, 0))));
    const TenYearsOfDays days;
    HistoryStrip strip;
    showWeekdays(strip, days, state);
    for (auto _ : state)
        strip.reload();
    Clock::unfreeze();
}
BENCHMARK(BM_HistoryStripReload)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The refresh of every second between readings while the panel is open: today's row as it
// stands now (the day's figures from the store and the clock) over the rows last read. It runs
// beside the panel's own refresh, so it must stay well below it.
void BM_HistoryStripLiveToday(benchmark::State& state)
{
    Clock::freeze(Clock::toEpoch(QDateTime(kToday, QTime(15, 0))));
    const TenYearsOfDays days;
    HistoryStrip strip;
    showWeekdays(strip, days, state);
    strip.setTodaySource(captureDay);
    strip.refresh(); // the reading; the clock stands, so no other is due
    for (auto _ : state)
        strip.refresh();
    Clock::unfreeze();
}
BENCHMARK(BM_HistoryStripLiveToday)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The first reading of a panel: the ledger file opened read-only, then read.
void BM_HistoryStripFirstRead(benchmark::State& state)
{
    Clock::freeze(Clock::toEpoch(QDateTime(kToday, QTime(15, 0))));
    const TenYearsOfDays days;
    for (auto _ : state) {
        HistoryStrip strip;
        strip.setLedgerPath(days.path());
        strip.setWorkingDayRule([](const QDate& d) { return d.dayOfWeek() < Qt::Saturday; });
        strip.refresh();
        benchmark::DoNotOptimize(strip.view().totals.days);
    }
    Clock::unfreeze();
}
BENCHMARK(BM_HistoryStripFirstRead)->Unit(benchmark::kMicrosecond);

// One repaint of the strip (bars and four lines of pixel-font text) at 1x and 2x.
void BM_HistoryStripPaint(benchmark::State& state)
{
    registerMonaFont();
    Clock::freeze(Clock::toEpoch(QDateTime(kToday, QTime(15, 0))));
    const TenYearsOfDays days;
    const qreal ratio = qreal(state.range(0));
    HistoryStrip strip;
    strip.setLedgerPath(days.path());
    strip.setAppearance(false);
    strip.setPixelRatio(ratio);
    strip.refresh();
    QImage canvas((QSizeF(strip.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        canvas.fill(Qt::transparent);
        strip.render(&canvas, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(canvas.bits());
    }
    Clock::unfreeze();
}
BENCHMARK(BM_HistoryStripPaint)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace
