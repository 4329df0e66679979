// SPDX-License-Identifier: GPL-3.0-or-later
// The bar is drawn on every panel refresh; it must stay far below a millisecond.

#include "render/Art.h"
#include "render/PixelBar.h"

#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

// Drawing needs no display; the bench may run on a machine without one.
const bool offscreen = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

void BM_drawPixelBar(benchmark::State& state)
{
    QImage canvas(252, 64, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(2);
    (void)barCells(); // the one-off analysis is measured below
    double progress = 0;
    for (auto _ : state) {
        QPainter painter(&canvas);
        drawPixelBar(painter, QRectF(0, 0, 126, 32), progress, 1.0);
        progress = progress >= 1 ? 0 : progress + 0.01;
    }
}
BENCHMARK(BM_drawPixelBar);

void BM_barCellRuns(benchmark::State& state)
{
    const auto art = loadArt(QStringLiteral("bar_empty"));
    for (auto _ : state)
        benchmark::DoNotOptimize(barCellRuns(art));
}
BENCHMARK(BM_barCellRuns);

} // namespace
