// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/Display.h"
#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/Status.h"
#include "engine/Store.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// The tray animation asks for the display up to 20 times a second, and nothing is cached between
// calls: these measure one full read of the store and the clock at two typical moments.
namespace {

class FrozenDay
{
public:
    explicit FrozenDay(const QTime& time)
    {
        Store::openStandardAt(dir_.filePath(QStringLiteral("tockwork.conf")));
        Cfg::save(540, 1080, 720, 780, 3000000, true);
        Clock::freeze(Clock::toEpoch(QDateTime(QDate(2026, 1, 14), time)));
        currentDisplay(); // the year's holidays and the month's working days, once
    }
    ~FrozenDay() { Clock::unfreeze(); }

private:
    QTemporaryDir dir_;
};

void BM_computeStatus(benchmark::State& state, QTime time)
{
    FrozenDay day(time);
    for (auto _ : state)
        benchmark::DoNotOptimize(computeStatus(Clock::now()));
}

void BM_currentDisplay(benchmark::State& state, QTime time)
{
    FrozenDay day(time);
    for (auto _ : state)
        benchmark::DoNotOptimize(currentDisplay());
}

} // namespace

BENCHMARK_CAPTURE(BM_computeStatus, working_1030, QTime(10, 30))->Repetitions(5);
BENCHMARK_CAPTURE(BM_computeStatus, overtime_2300, QTime(23, 0))->Repetitions(5);
BENCHMARK_CAPTURE(BM_currentDisplay, working_1030, QTime(10, 30))->Repetitions(5);
BENCHMARK_CAPTURE(BM_currentDisplay, overtime_2300, QTime(23, 0))->Repetitions(5);
