// SPDX-License-Identifier: GPL-3.0-or-later
// The tray's per-step cost: the animation step runs up to 20 times a second for the whole day.

#include "analytics/Analytics.h"
#include "app/AppDelegate.h"
#include "engine/Clock.h"
#include "engine/Preview.h"
#include "engine/Store.h"
#include "ui/tray/TrayIcon.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class CountingTray final : public TrayPlatform
{
public:
    void setSprite(const TraySprite& sprite) override
    {
        benchmark::DoNotOptimize(sprite.drawings.constData());
    }
    void setToolTip(const QString&, const QString&) override {}
    void setMenu(QMenu*) override {}
    void setCallbacks(TrayCallbacks) override {}
};

struct LaunchedApp
{
    LaunchedApp()
    {
        Store::openStandardAt(dir.filePath("tockwork.conf"));
        Analytics::setDemoRun();
        // The shipped art (beside the benchmark binary) so real frames are stepped and drawn.
        delegate = std::make_unique<AppDelegate>(std::make_unique<CountingTray>());
        delegate->applicationDidFinishLaunching({"tockwork", "--state", "근무"});
    }
    ~LaunchedApp() { Preview::demoState.reset(); }

    QTemporaryDir dir;
    std::unique_ptr<AppDelegate> delegate;
};

void BM_animationStep(benchmark::State& state)
{
    LaunchedApp app;
    for (auto _ : state)
        app.delegate->tray()->animationStep();
    state.counters["pushes"] = app.delegate->tray()->statusItem()->imagePushes();
}
BENCHMARK(BM_animationStep);

void BM_update(benchmark::State& state)
{
    LaunchedApp app;
    for (auto _ : state) {
        Clock::freeze(Clock::now() + 10); // a new instant each time, as the poll timer sees it
        app.delegate->update();
    }
    Clock::unfreeze();
}
BENCHMARK(BM_update);

} // namespace
