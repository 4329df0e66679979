// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Holidays.h"

#include <benchmark/benchmark.h>

// A year computed from nothing: the fixed rows, the lunar search, the substitute days and, in
// the election years among them (2028, 2030, 2032, 2034, 2035), the polling days.
static void BM_holidayFirstComputationOfYear(benchmark::State& state)
{
    int year = 2024;
    for (auto _ : state) {
        Holidays::internal::clearCache();
        benchmark::DoNotOptimize(Holidays::isHoliday(QDate(year, 9, 17)));
        year = year == 2035 ? 2024 : year + 1;
    }
}
BENCHMARK(BM_holidayFirstComputationOfYear)->Unit(benchmark::kMillisecond);

// What the working-day count and the day phase pay once a year is known.
static void BM_holidayCachedLookup(benchmark::State& state)
{
    const QDate date(2026, 9, 25);
    Holidays::isHoliday(date);
    for (auto _ : state)
        benchmark::DoNotOptimize(Holidays::isHoliday(date));
}
BENCHMARK(BM_holidayCachedLookup);
