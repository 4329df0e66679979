// The tray image is re-rendered on every animation step (up to 20 times a second) and the bar on
// every panel refresh; both must stay far below a millisecond.

#include "display/Display.h"
#include "render/Art.h"
#include "render/MenuBarImage.h"
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

Display showing(const char* mascot)
{
    Display display;
    display.mascot = QString::fromLatin1(mascot);
    return display;
}

void BM_renderMenuBar_animationFrame(benchmark::State& state)
{
    const auto frames = gifFrames(QStringLiteral("ant_work"));
    if (!frames) {
        state.SkipWithError("ant_work.gif not found next to the bench (build tockwork_art)");
        return;
    }
    menubarFrameMascot = QStringLiteral("ant_work");
    const Display display = showing("ant_work");
    const qreal dpr = state.range(0);
    int i = 0;
    for (auto _ : state) {
        menubarAntFrame = frames->frames[i++ % frames->frames.size()];
        benchmark::DoNotOptimize(renderMenuBar(display, dpr));
    }
    menubarAntFrame.reset();
    menubarFrameMascot.clear();
}
BENCHMARK(BM_renderMenuBar_animationFrame)->Arg(1)->Arg(2);

// Without a loaded animation the picture is read from disk at every drawing.
void BM_renderMenuBar_fromDisk(benchmark::State& state)
{
    const Display display = showing("home");
    for (auto _ : state)
        benchmark::DoNotOptimize(renderMenuBar(display, state.range(0)));
}
BENCHMARK(BM_renderMenuBar_fromDisk)->Arg(1)->Arg(2);

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
