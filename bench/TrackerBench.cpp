// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Clock.h"
#include "engine/Store.h"
#include "slacking/Wollu.h"
#include "tracker/DesktopWollu.h"
#include "tracker/WolluProbes.h"
#include "tracker/WolluTracker.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// One slacking poll, the work of the 10-second timer (budget: 200 µs). Run under a real X server
// (scripts/xvfb-session.sh with QT_QPA_PLATFORM=xcb) the desktop variant includes the X round
// trips a poll makes: the idle time and the display's power level.
namespace {

struct FixedProbes final : WolluProbes
{
    std::optional<FrontWindow> front;
    bool screenSaverOn() override { return false; }
    void clearScreenSaver() override {}
    bool awayByScreen() override { return false; }
    std::optional<double> idleSeconds() override { return 1; }
    bool idleInhibited() override { return false; }
    std::optional<FrontWindow> frontWindow() override { return front; }
    void activeTabURLAsync(const QString&, const FrontWindow&,
                           std::function<void(std::optional<QString>)> done) override
    {
        done(std::nullopt);
    }
};

// A working Wednesday morning, a typical list, and a store in a temporary folder, in memory where
// the system has a memory file system: a counted poll writes the store, and what the disk takes
// to sync it (milliseconds on a busy disk) is the disk's, not the poll's.
struct Scene
{
    Scene()
    {
        Store::openStandardAt(dir.filePath(QStringLiteral("bench.conf")));
        Wollu::setApps(QStringLiteral("카카오톡,유튜브,인스타그램,넷플릭스,디스코드,트위치,슬랙"));
        Clock::freeze(Clock::toEpoch(QDateTime(QDate(2025, 3, 12), QTime(10, 0))));
    }
    ~Scene() { Clock::unfreeze(); }
    QTemporaryDir dir{QDir(QStringLiteral("/dev/shm")).exists()
                          ? QStringLiteral("/dev/shm/tockwork-bench-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/tockwork-bench-XXXXXX")};
};

FrontWindow window(const QString& cls, const QString& name)
{
    FrontWindow w;
    w.windowClass = cls;
    w.instance = cls.toLower();
    w.appName = name;
    w.executable = cls.toLower();
    w.pid = 1234;
    return w;
}

void pollWith(benchmark::State& state, WolluTracker& tracker)
{
    for (auto _ : state) {
        Clock::advance(10);
        tracker.pollWollu();
    }
}

// An editor in front: every check runs and nothing is written.
void BM_Tracker_Poll_NothingCounted(benchmark::State& state)
{
    Scene scene;
    FixedProbes probes;
    probes.front = window(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("텍스트 편집기"));
    WolluTracker tracker(probes, [](auto&&...) {});
    pollWith(state, tracker);
}
BENCHMARK(BM_Tracker_Poll_NothingCounted)->Repetitions(5)->ReportAggregatesOnly(true);

// A listed app in front: the day's total is written to the store file at every poll.
void BM_Tracker_Poll_AppCounted(benchmark::State& state)
{
    Scene scene;
    FixedProbes probes;
    probes.front = window(QStringLiteral("discord"), QStringLiteral("Discord"));
    WolluTracker tracker(probes, [](auto&&...) {});
    pollWith(state, tracker);
}
BENCHMARK(BM_Tracker_Poll_AppCounted)->Repetitions(5)->ReportAggregatesOnly(true);

// The application's own probes (X idle time and DPMS where an X server runs).
void BM_Tracker_Poll_DesktopProbes(benchmark::State& state)
{
    Scene scene;
    DesktopWollu wollu;
    for (auto _ : state) {
        Clock::advance(10);
        wollu.poll();
    }
}
BENCHMARK(BM_Tracker_Poll_DesktopProbes)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
