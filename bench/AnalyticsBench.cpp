// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of analytics on the caller's thread. The library variant used here posts to a closed
// loopback port, so nothing leaves the machine. The data folder cannot be created, so failed
// batches are dropped at once instead of rewriting a queue file thousands of times.
#include "analytics/Analytics.h"
#include "analytics/Labels.h"
#include "analytics/Testing.h"
#include "analytics/Wire.h"
#include "engine/Clock.h"
#include "engine/Store.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

namespace {

struct AnalyticsBenchSetup
{
    QTemporaryDir home;
    AnalyticsBenchSetup()
    {
        qputenv("XDG_DATA_HOME", "/dev/null/tockwork-bench");
        qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
        Store::openStandardAt(home.path() + "/store.conf");
        Analytics::Testing::reset();
        Analytics::Testing::setFlushPeriodMs(1000);
        Analytics::distinctID();
    }
    ~AnalyticsBenchSetup() { Analytics::Testing::reset(); }
};

// Building the 31 super properties and the record, and handing it to the worker thread. In the
// application events come a few a minute, so the worker is idle when one is tracked: every 29
// events the clock stops while the worker posts its batch, which keeps the worker's JSON and
// HTTP work (not the caller's) out of the figure on a two-core machine.
void BM_AnalyticsTrack(benchmark::State& state)
{
    AnalyticsBenchSetup setup;
    const QVariantMap properties{{QStringLiteral("state"), QStringLiteral("working")},
                                 {QStringLiteral("worked_min"), 312},
                                 {QStringLiteral("pinned"), false}};
    int sinceIdle = 0;
    for (auto _ : state) {
        Analytics::track(QStringLiteral("Panel Opened"), properties);
        if (++sinceIdle == 29) {
            state.PauseTiming();
            Analytics::flush();
            QCoreApplication::processEvents();
            while (Analytics::Testing::inFlightCount() > 0 ||
                   Analytics::Testing::bufferedCount() > 0)
                QThread::msleep(1);
            sinceIdle = 0;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AnalyticsTrack)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(5000)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_AnalyticsSuperProperties(benchmark::State& state)
{
    AnalyticsBenchSetup setup;
    for (auto _ : state)
        benchmark::DoNotOptimize(Analytics::superProperties());
}
BENCHMARK(BM_AnalyticsSuperProperties)->Unit(benchmark::kMicrosecond);

void BM_AnalyticsFormBody(benchmark::State& state)
{
    AnalyticsBenchSetup setup;
    QJsonArray batch;
    for (int i = 0; i < 30; ++i)
        batch.append(QJsonObject{{QStringLiteral("event"), QStringLiteral("Panel Opened")},
                                 {QStringLiteral("properties"), Analytics::superProperties()}});
    for (auto _ : state)
        benchmark::DoNotOptimize(Analytics::Wire::formBody(batch));
}
BENCHMARK(BM_AnalyticsFormBody)->Unit(benchmark::kMicrosecond);

void BM_AnalyticsDistractionLabelForURL(benchmark::State& state)
{
    const std::optional<QString> address = QStringLiteral("https://www.example.co.kr/news/1");
    for (auto _ : state)
        benchmark::DoNotOptimize(Analytics::distractionLabelForURL(address));
}
BENCHMARK(BM_AnalyticsDistractionLabelForURL)->Unit(benchmark::kMicrosecond);

} // namespace
