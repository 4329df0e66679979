// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrackerFixture.h"

#include "engine/Cfg.h"
#include "engine/Dinner.h"
#include "engine/Eod.h"
#include "engine/Pause.h"
#include "engine/Store.h"

namespace {

TEST_F(TrackerTest, TenPollsOfAListedAppAreOneRunReportedWhenSomethingElseComesToTheFront)
{
    probes.front = app(QStringLiteral("discord"), QStringLiteral("Discord"));
    for (int i = 0; i < 10; ++i)
        pollAfter(10);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 100);
    EXPECT_EQ(runReason(), QStringLiteral("app/discord"));
    EXPECT_TRUE(events.isEmpty());

    probes.front = app(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor"));
    pollAfter(10);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 100);
    EXPECT_FALSE(tracker->openRun());
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].first, QStringLiteral("Wollu Session"));
    const QVariantMap& p = events[0].second;
    EXPECT_EQ(p.value("reason").toString(), QStringLiteral("app"));
    EXPECT_EQ(p.value("target").toString(), QStringLiteral("discord"));
    EXPECT_EQ(p.value("duration_seconds").toLongLong(), 100);
    EXPECT_DOUBLE_EQ(p.value("duration_minutes").toDouble(), 1.7);
    // The run began at its first counted poll, 10:00:10.
    EXPECT_EQ(p.value("started_minute_of_day").toInt(), 600);
    EXPECT_EQ(p.value("state").toString(), QStringLiteral("working"));
    EXPECT_EQ(p.value("wollu_total_min_today").toLongLong(), 2);
}

TEST_F(TrackerTest, RunsShorterThanTwentySecondsKeepTheirTimeButAreNotReported)
{
    probes.front = app(QStringLiteral("discord"));
    pollAfter(19.9);
    tracker->endWolluRun();
    EXPECT_TRUE(events.isEmpty());
    EXPECT_NEAR(Wollu::seconds(), 19.9, 1e-3);

    pollAfter(20);
    tracker->endWolluRun();
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].second.value("duration_seconds").toLongLong(), 20);
}

TEST_F(TrackerTest, AnotherListedAppWithAnotherLabelClosesTheRunAndOpensANewOne)
{
    probes.front = app(QStringLiteral("discord"));
    pollAfter(10);
    pollAfter(10);
    probes.front = app(QStringLiteral("slack"));
    pollAfter(10);
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].second.value("target").toString(), QStringLiteral("discord"));
    EXPECT_EQ(runReason(), QStringLiteral("app/slack"));
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 30);
}

// Gaps a poll cannot vouch for (a clock set back, a sleep, a stalled loop) are lost, and the run
// neither grows nor ends.
TEST_F(TrackerTest, GapsOutsideZeroToThirtySecondsCountNothingAndLeaveTheRunAsItWas)
{
    probes.front = app(QStringLiteral("discord"));
    pollAfter(10);
    for (double gap : {0.0, -5.0, 30.0, 3600.0}) {
        pollAfter(gap);
        EXPECT_DOUBLE_EQ(Wollu::seconds(), 10) << gap;
        ASSERT_TRUE(tracker->openRun()) << gap;
        EXPECT_DOUBLE_EQ(tracker->openRun()->seconds, 10) << gap;
    }
    pollAfter(29.9);
    EXPECT_NEAR(Wollu::seconds(), 39.9, 1e-3);
}

TEST_F(TrackerTest, OutsideWorkingTimeAfterLeavingOrWithTrackingOffNothingCountsAndTheRunCloses)
{
    struct Stop
    {
        const char* name;
        QDateTime firstPoll;
        std::function<void()> stop;
        double totalAfter; // the day's total at the second poll
    };
    const Stop stops[] = {
        {"lunch", QDateTime(QDate(2025, 3, 12), QTime(11, 59, 55)), [] {}, 10},
        // Friday's overtime runs into Saturday, a day off, whose total starts at 0.
        {"day off", QDateTime(QDate(2025, 3, 14), QTime(23, 59, 55)), [] {}, 0},
        {"left", QDateTime(QDate(2025, 3, 12), QTime(10, 0)),
         [] { Eod::choose(QStringLiteral("left")); }, 10},
        {"tracking off", QDateTime(QDate(2025, 3, 12), QTime(10, 0)),
         [] { Wollu::setDisabled(true); }, 10},
    };
    probes.front = app(QStringLiteral("discord"));
    for (const Stop& s : stops) {
        Store::openStandardAt(sandbox.filePath(QString::fromUtf8(s.name) + u".conf"));
        Clock::freeze(FrozenClock::epoch(s.firstPoll.date(), s.firstPoll.time()) - 10);
        tracker = std::make_unique<WolluTracker>(probes, [](auto&&...) {});
        pollAfter(10);
        ASSERT_TRUE(tracker->openRun()) << s.name;
        s.stop();
        pollAfter(10);
        EXPECT_FALSE(tracker->openRun()) << s.name;
        EXPECT_DOUBLE_EQ(Wollu::seconds(), s.totalAfter) << s.name;
    }
}

TEST_F(TrackerTest, DuringDinnerNothingCounts)
{
    Clock::freeze(FrozenClock::epoch(QDate(2025, 3, 12), QTime(19, 0)));
    tracker = std::make_unique<WolluTracker>(probes, [](auto&&...) {});
    probes.front = app(QStringLiteral("discord"));
    pollAfter(10);
    EXPECT_EQ(runReason(), QStringLiteral("app/discord")); // overtime counts
    Dinner::begin(Clock::now());
    pollAfter(10);
    EXPECT_FALSE(tracker->openRun());
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 10);
}

TEST_F(TrackerTest, DuringTheUsersOwnBreakNothingCounts)
{
    Clock::freeze(FrozenClock::epoch(QDate(2025, 3, 12), QTime(19, 0)));
    tracker = std::make_unique<WolluTracker>(probes, [](auto&&...) {});
    probes.front = app(QStringLiteral("discord"));
    pollAfter(10);
    Pause::set(ManualState::rest, Clock::now());
    pollAfter(10);
    EXPECT_FALSE(tracker->openRun());
    Pause::set(ManualState::work, Clock::now());
    pollAfter(10);
    EXPECT_EQ(runReason(), QStringLiteral("app/discord"));
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 20);
}

struct Case
{
    const char* name;
    std::function<void(ScriptedProbes&)> set;
    const char* expected; // "reason/target", or "" for nothing counted
};

class Decision : public TrackerTest, public testing::WithParamInterface<Case>
{};

TEST_P(Decision, FirstMatchWins)
{
    probes.front = app(QStringLiteral("org.gnome.TextEditor"), QStringLiteral("텍스트 편집기"));
    GetParam().set(probes);
    pollAfter(10);
    ASSERT_TRUE(probes.reads.isEmpty()) << "no tab read in these cases";
    EXPECT_EQ(runReason(), QString::fromUtf8(GetParam().expected));
    EXPECT_DOUBLE_EQ(Wollu::seconds(), *GetParam().expected ? 10 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Poll, Decision,
    testing::Values(Case{"ScreensaverBeforeIdleness",
                         [](auto& p) {
                             p.saver = true;
                             p.idle = 900;
                         },
                         "away_screen/away"},
                    Case{"LockBeforeAListedApp",
                         [](auto& p) {
                             p.away = true;
                             p.front = app(QStringLiteral("discord"));
                         },
                         "away_screen/away"},
                    // Input a moment ago means whoever announced the screensaver missed its end.
                    Case{"ScreensaverWithFreshInputIsCleared",
                         [](auto& p) {
                             p.saver = true;
                             p.idle = 4.9;
                         },
                         ""},
                    // No idle figure on this desktop (KDE on Wayland, XWayland without the X
                    // extension): unknown is no fresh input, so the screensaver stays counted.
                    Case{"ScreensaverWithUnknownIdleStays",
                         [](auto& p) {
                             p.saver = true;
                             p.idle.reset();
                         },
                         "away_screen/away"},
                    Case{"LockWithUnknownIdle",
                         [](auto& p) {
                             p.away = true;
                             p.idle.reset();
                         },
                         "away_screen/away"},
                    Case{"UnknownIdleIsNotIdleness", [](auto& p) { p.idle.reset(); }, ""},
                    Case{"JustUnderTenMinutesIdle", [](auto& p) { p.idle = 599; }, ""},
                    Case{"TenMinutesIdle", [](auto& p) { p.idle = 600; }, "idle/idle"},
                    Case{"IdleDuringAMeeting",
                         [](auto& p) {
                             p.idle = 1800;
                             p.inhibited = true;
                         },
                         ""},
                    Case{"AListedAppDuringAMeetingStillCounts",
                         [](auto& p) {
                             p.idle = 1800;
                             p.inhibited = true;
                             p.front = app(QStringLiteral("discord"));
                         },
                         "app/discord"},
                    Case{"TheDesktopInFront", [](auto& p) { p.front.reset(); }, ""},
                    Case{"ListedByItsKoreanDesktopName",
                         [](auto& p) {
                             p.front = app(QStringLiteral("Kakao"), QStringLiteral("카카오톡"));
                         },
                         "app/kakaotalk"},
                    Case{"ListedByItsProgram",
                         [](auto& p) {
                             p.front = app(QStringLiteral("Electron"));
                             p.front->executable = QStringLiteral("Discord");
                         },
                         "app/discord"},
                    // Too short to tell: "sl" is inside "slack".
                    Case{"ShortClassNamesAreNoCandidates",
                         [](auto& p) { p.front = app(QStringLiteral("sl")); }, ""}),
    [](const auto& tested) { return std::string(tested.param.name); });

// The fault this guards against: an unknown idle time read as 0 s took every poll for fresh input
// and ended the screensaver after 10 s; a locked screen on such a desktop then counted nothing.
TEST_F(TrackerTest, AScreensaverKeepsCountingForMinutesWithoutAnIdleFigure)
{
    probes.idle.reset();
    probes.saver = true;
    probes.front = app(QStringLiteral("discord"));
    for (int i = 0; i < 30; ++i)
        pollAfter(10);
    EXPECT_TRUE(probes.saver);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 300);
    EXPECT_EQ(runReason(), QStringLiteral("away_screen/away"));
}

TEST_F(TrackerTest, ABrowserInFrontCountsTheSiteOfItsTabWhenTheReadComesBack)
{
    probes.front = app(QStringLiteral("Chromium"), QStringLiteral("Chromium"));
    probes.tabURL = QStringLiteral("https://www.youtube.com/watch?v=1");
    int updates = 0;
    QObject::connect(tracker.get(), &WolluTracker::updateRequested, [&] { ++updates; });
    pollAfter(10);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 0);
    ASSERT_EQ(probes.reads.size(), 1);

    // A read slower than a poll: the next poll waits, counting nothing and closing nothing.
    pollAfter(10);
    EXPECT_EQ(probes.reads.size(), 1);
    probes.deliver();
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 10);
    EXPECT_EQ(runReason(), QStringLiteral("site/youtube"));
    EXPECT_EQ(updates, 1);

    probes.tabURL = QStringLiteral("https://docs.example.com/");
    pollAfter(10);
    probes.deliver();
    EXPECT_FALSE(tracker->openRun());
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 10);
}

TEST_F(TrackerTest, ATabReadThatNeverAnswersIsGivenUpAfterThirtySeconds)
{
    probes.front = app(QStringLiteral("Chromium"), QStringLiteral("Chromium"));
    probes.tabURL = QStringLiteral("https://youtube.com/");
    pollAfter(10);
    pollAfter(10);
    pollAfter(10);
    EXPECT_EQ(probes.reads.size(), 1);
    pollAfter(10);
    ASSERT_EQ(probes.reads.size(), 2);
    probes.deliver(); // the lost one, late: ignored
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 0);
    probes.deliver();
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 10);
}

TEST_F(TrackerTest, WithoutTheExtensionTheWindowTitleNamesTheSite)
{
    probes.front = app(QStringLiteral("Chromium"), QStringLiteral("Chromium"),
                       QStringLiteral("How I quit YouTube - My blog - Chromium"));
    pollAfter(10);
    probes.deliver();
    EXPECT_FALSE(tracker->openRun());

    probes.front->title = QStringLiteral("고양이 영상 - YouTube - Chromium");
    pollAfter(10);
    probes.deliver();
    EXPECT_EQ(runReason(), QStringLiteral("site/youtube"));

    // An address from the extension is exact: a title cannot overrule it.
    probes.tabURL = QStringLiteral("https://my.blog.example/");
    pollAfter(10);
    probes.deliver();
    EXPECT_FALSE(tracker->openRun());
}

// What the day ledger is told: every second added to the day's total, once, with its reason and
// what was in front, so the reasons add up to the total.
TEST_F(TrackerTest, EveryCountedSecondIsToldWithItsReasonAndWhatWasInFront)
{
    QMap<QString, double> byReason;
    QMap<QString, double> byTarget;
    QObject::connect(tracker.get(), &WolluTracker::slackingCounted,
                     [&](double seconds, const QString& reason, const QString& target) {
                         byReason[reason] += seconds;
                         byTarget[target] += seconds;
                     });
    probes.front = app(QStringLiteral("KakaoTalk"), QStringLiteral("카카오톡"));
    pollAfter(10);
    pollAfter(10);
    Wollu::setApps(QStringLiteral("카카오톡,유튜브,mygame"));
    probes.front = app(QStringLiteral("mygame"));
    pollAfter(7);
    probes.front = app(QStringLiteral("XTerm"));
    pollAfter(10); // not listed: nothing
    probes.idle = 700;
    pollAfter(10);
    probes.idle = 0;
    probes.away = true;
    pollAfter(10);
    probes.away = false;
    probes.front = app(QStringLiteral("Chromium"), QStringLiteral("Chromium"));
    probes.tabURL = QStringLiteral("https://www.youtube.com/watch?v=1");
    pollAfter(10);
    probes.deliver();
    pollAfter(45); // a gap the wake accounts for
    tracker->willSleep();
    Clock::advance(600);
    tracker->didWake();

    EXPECT_EQ(
        byReason,
        (QMap<QString, double>{
            {"app", 27}, {"idle", 10}, {"away_screen", 10}, {"site", 10}, {"system_sleep", 600}}));
    double told = 0;
    for (const double seconds : std::as_const(byReason))
        told += seconds;
    EXPECT_DOUBLE_EQ(told, Wollu::seconds());
    // A listed app goes by its own name, which a report would only call "custom".
    EXPECT_EQ(byTarget.value("카카오톡"), 20);
    EXPECT_EQ(byTarget.value("mygame"), 7);
    EXPECT_EQ(byTarget.value("youtube"), 10);
    EXPECT_EQ(byTarget.value("sleep"), 600);
    EXPECT_FALSE(byTarget.contains("custom"));
}

TEST_F(TrackerTest, TheBrowserIsNotTheSiteItsClassSoundsLike)
{
    // Whale's class names Naver, and 네이버 is listed: only its desktop name is a candidate.
    probes.front = app(QStringLiteral("Naver-whale"), QStringLiteral("네이버 웨일"));
    probes.tabURL = QStringLiteral("https://github.com/");
    pollAfter(10);
    ASSERT_EQ(probes.reads.size(), 1);
    probes.deliver();
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 0);
}

class Wake : public TrackerTest
{
protected:
    // In overtime, 19:00 to 19:40: every second of it is paid.
    void sleepForFortyMinutes(const std::function<void()>& duringSleep = {})
    {
        Clock::freeze(FrozenClock::epoch(QDate(2025, 3, 12), QTime(19, 0)));
        tracker =
            std::make_unique<WolluTracker>(probes, [this](const QString& e, const QVariantMap& p) {
                events.append({e, p});
            });
        tracker->willSleep();
        if (duringSleep)
            duringSleep();
        Clock::freeze(FrozenClock::epoch(QDate(2025, 3, 12), QTime(19, 40)));
        tracker->didWake(2400);
    }
};

TEST_F(Wake, SleptWorkingTimeIsOneReportedRunLessTheDinnerThatRanThrough)
{
    sleepForFortyMinutes([] {
        // The dinner break began 15 minutes before the wake, after the sleep did.
        Dinner::begin(FrozenClock::epoch(QDate(2025, 3, 12), QTime(19, 25)));
    });
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 25 * 60);
    ASSERT_EQ(events.size(), 1);
    const QVariantMap& p = events[0].second;
    EXPECT_EQ(p.value("reason").toString(), QStringLiteral("system_sleep"));
    EXPECT_EQ(p.value("target").toString(), QStringLiteral("sleep"));
    EXPECT_EQ(p.value("duration_seconds").toLongLong(), 1500);
    EXPECT_EQ(p.value("started_minute_of_day").toInt(), 19 * 60 + 40);
    EXPECT_FALSE(tracker->openRun());
    EXPECT_EQ(tracker->sleepStart(), 0);
    EXPECT_EQ(tracker->lastPoll(), Clock::now());
}

TEST_F(Wake, TheBreakTheUserTookDuringTheSleepIsNotSlacking)
{
    sleepForFortyMinutes([] {
        Pause::set(ManualState::away, FrozenClock::epoch(QDate(2025, 3, 12), QTime(19, 30)));
    });
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 30 * 60);
}

TEST_F(Wake, AnOpenRunEndsAtTheWake)
{
    sleepForFortyMinutes([this] {
        probes.front = app(QStringLiteral("discord"));
        Clock::advance(-30);
        pollAfter(10);
        pollAfter(10);
        pollAfter(10); // a 30 s run, open as the machine sleeps
    });
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events[0].second.value("reason").toString(), QStringLiteral("app"));
    EXPECT_EQ(events[1].second.value("reason").toString(), QStringLiteral("system_sleep"));
}

TEST_F(Wake, ASleepFoundOnlyAfterwardsCountsFromWhenItBegan)
{
    Clock::freeze(FrozenClock::epoch(QDate(2025, 3, 12), QTime(10, 30)));
    int updates = 0;
    QObject::connect(tracker.get(), &WolluTracker::updateRequested, [&] { ++updates; });
    tracker->didWake(0); // a wake without a sleep before it and without a length: nothing
    EXPECT_EQ(updates, 0);
    tracker->didWake(600);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 600);
    EXPECT_EQ(updates, 1);
}

TEST_F(Wake, WithTrackingOffOrLunchSleptThroughNothingIsAdded)
{
    Wollu::setDisabled(true);
    sleepForFortyMinutes();
    EXPECT_EQ(Wollu::seconds(), 0);
    EXPECT_EQ(tracker->sleepStart(), 0);
    Wollu::setDisabled(false);

    Clock::freeze(FrozenClock::epoch(QDate(2025, 3, 12), QTime(12, 5)));
    tracker->willSleep();
    Clock::freeze(FrozenClock::epoch(QDate(2025, 3, 12), QTime(12, 55)));
    tracker->didWake(3000);
    EXPECT_EQ(Wollu::seconds(), 0);
    EXPECT_TRUE(events.isEmpty());
}

} // namespace
