// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Clock.h"
#include "engine/Store.h"
#include "slacking/Wollu.h"

#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A long list typical of a heavy user: every known service name plus made-up sites and words,
// 50 entries in all.
QString fiftyEntryList()
{
    QStringList entries = {"유튜브",   "넷플릭스", "인스타그램", "트위치",   "틱톡",
                           "페이스북", "트위터",   "레딧",       "쿠팡",     "네이버",
                           "당근",     "치지직",   "아프리카",   "디시",     "에브리타임",
                           "카카오톡", "디스코드", "슬랙",       "텔레그램", "왓챠"};
    for (int i = 0; entries.size() < 50; ++i)
        entries.append(i % 2 ? QStringLiteral("site%1.example.com").arg(i)
                             : QStringLiteral("game%1").arg(i));
    return entries.join(u',');
}

void BM_Wollu_matchesURL_50Entries(benchmark::State& state)
{
    QTemporaryDir dir;
    Store::openStandardAt(dir.filePath(QStringLiteral("bench.conf")));
    Wollu::setApps(fiftyEntryList());
    // No entry matches, so every token is tried: the slowest answer.
    const std::optional<QString> url =
        QStringLiteral("https://docs.company-intranet.co.kr/wiki/Quarterly_Report?tab=2#summary");
    bool matched = false;
    for (auto _ : state) {
        matched = Wollu::matchesURL(url);
        benchmark::DoNotOptimize(matched);
    }
    if (matched)
        state.SkipWithError("the address unexpectedly matched");
}
// Repetitions report the median that the 5 µs budget is stated against.
BENCHMARK(BM_Wollu_matchesURL_50Entries)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
