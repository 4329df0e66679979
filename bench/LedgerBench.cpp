// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/Store.h"
#include "ledger/DayCapture.h"
#include "ledger/History.h"
#include "ledger/Ledger.h"
#include "ledger/LedgerRecorder.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// The ledger's two promises: today's row is written in well under a millisecond, so the minute's
// write never holds up the GUI thread; and a month's history comes back at once however long the
// ledger has grown (ten years of rows here).
namespace {

DayRecord dayAt(const QDate& date, double workedMin)
{
    DayRecord r;
    r.date = date;
    r.workStart = 540;
    r.workEnd = 1080;
    r.lunchStart = 720;
    r.lunchEnd = 780;
    r.workedMin = workedMin;
    r.earnedWon = workedMin / 60 * 17857.14;
    r.hourlyWon = 17857.14;
    r.hourlyLegalWon = 17241.38;
    r.slackSec = 1800;
    r.updatedAt = 1.8e9;
    return r;
}

// $XDG_DATA_HOME/tockwork/days.sqlite with ten years of days up to `today`, in one transaction.
class TenYears
{
public:
    explicit TenYears(const QDate& today)
        : path_(dir_.filePath(QStringLiteral("tockwork/days.sqlite")))
    {
        Ledger ledger(path_, Ledger::Access::readWrite);
        for (QDate d = today.addYears(-10); d < today; d = d.addDays(1))
            ledger.upsert(dayAt(d, 480));
    }
    QString path() const { return path_; }
    QString dataHome() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString path_;
};

const QDate kToday(2026, 12, 7);

// What the GUI thread does once a minute: today's figures from the engine, handed to the writer.
void BM_LedgerRecordToday(benchmark::State& state)
{
    QTemporaryDir storeDir;
    Store::openStandardAt(storeDir.filePath(QStringLiteral("tockwork.conf")));
    Cfg::save(540, 1080, 720, 780, 3000000, true);
    Clock::freeze(Clock::toEpoch(QDateTime(kToday, QTime(15, 0))));
    TenYears years(kToday);
    {
        LedgerRecorder recorder(years.path());
        for (auto _ : state) {
            Clock::advance(60);
            recorder.recordNow();
        }
    }
    Clock::unfreeze();
}

// The whole write of today's row on the writer's thread: figures, upsert and the commit that
// reaches the disk (WAL, synchronous=FULL).
void BM_LedgerUpsertToday(benchmark::State& state)
{
    QTemporaryDir storeDir;
    Store::openStandardAt(storeDir.filePath(QStringLiteral("tockwork.conf")));
    Cfg::save(540, 1080, 720, 780, 3000000, true);
    Clock::freeze(Clock::toEpoch(QDateTime(kToday, QTime(15, 0))));
    TenYears years(kToday);
    Ledger ledger(years.path(), Ledger::Access::readWrite);
    ledger.upsert(captureDay(Clock::now()));
    for (auto _ : state) {
        Clock::advance(60);
        benchmark::DoNotOptimize(ledger.upsert(captureDay(Clock::now())));
    }
    Clock::unfreeze();
}

// The query behind `history --month`: open read-only, the month's rows, their totals.
void BM_LedgerMonthOfTenYears(benchmark::State& state)
{
    TenYears years(kToday);
    for (auto _ : state) {
        Ledger reader(years.path(), Ledger::Access::readOnly);
        const QList<DayRecord> days = reader.range(QDate(2026, 12, 1), kToday);
        benchmark::DoNotOptimize(totalsOf(days).totalWon());
    }
}

// `tockwork-cli history --month` as a user runs it: a whole process, start to exit.
void BM_CliHistoryMonthOfTenYears(benchmark::State& state)
{
    TenYears years(QDate::currentDate());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), years.dataHome());
    for (auto _ : state) {
        QProcess cli;
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(TOCKWORK_CLI),
                  {QStringLiteral("history"), QStringLiteral("--month")});
        if (!cli.waitForFinished(10000) || cli.exitCode() != 0) {
            state.SkipWithError("tockwork-cli history failed");
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_LedgerRecordToday)->Unit(benchmark::kMicrosecond)->Iterations(2000)->Repetitions(3);
BENCHMARK(BM_LedgerUpsertToday)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_LedgerMonthOfTenYears)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_CliHistoryMonthOfTenYears)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(3);
