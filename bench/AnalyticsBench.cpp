// Cost of analytics on the caller's thread. The library variant used here posts to a closed
// loopback port, so nothing leaves the machine. The data folder cannot be created, so failed
// batches are dropped at once instead of rewriting a queue file thousands of times.
#include "Clock.h"
#include "Store.h"
#include "analytics/Analytics.h"
#include "analytics/Labels.h"
#include "analytics/Testing.h"
#include "analytics/Wire.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QTemporaryDir>

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

// Building the 31 super properties and the record, and handing it to the worker thread.
void BM_AnalyticsTrack(benchmark::State& state)
{
    AnalyticsBenchSetup setup;
    const QVariantMap properties{{QStringLiteral("state"), QStringLiteral("working")},
                                 {QStringLiteral("worked_min"), 312},
                                 {QStringLiteral("pinned"), false}};
    for (auto _ : state) {
        Analytics::track(QStringLiteral("Panel Opened"), properties);
        // Lets the main thread's side (the flush timer) run as it would in the application.
        if (state.iterations() % 1000 == 0)
            QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AnalyticsTrack)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(20000)
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
