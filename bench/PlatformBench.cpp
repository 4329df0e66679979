// SPDX-License-Identifier: GPL-3.0-or-later
// The slacking poll's platform reads, once a second all day: the idle time (one request to the X
// server) and the frontmost application (kept up to date by X events, so reading costs no
// request). Meaningful on an X server: QT_QPA_PLATFORM=xcb scripts/xvfb-session.sh --no-tray ...

#include "platform/FrontmostApp.h"
#include "platform/IdleTime.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

void BM_IdleTimeQuery(benchmark::State& state)
{
    if (!onX11()) {
        state.SkipWithError("needs an X server (QT_QPA_PLATFORM=xcb)");
        return;
    }
    IdleTime idle;
    for (auto _ : state)
        benchmark::DoNotOptimize(idle.seconds());
}
BENCHMARK(BM_IdleTimeQuery);

void BM_FrontmostAppRead(benchmark::State& state)
{
    if (!onX11()) {
        state.SkipWithError("needs an X server (QT_QPA_PLATFORM=xcb)");
        return;
    }
    FrontmostApp front;
    for (auto _ : state)
        benchmark::DoNotOptimize(front.current());
}
BENCHMARK(BM_FrontmostAppRead);

} // namespace
