// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OffscreenGuiTestMain.h"

#include "engine/Clock.h"
#include "slacking/Wollu.h"
#include "tracker/DesktopWollu.h"
#include "tracker/WolluProbes.h"
#include "tracker/WolluTracker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <ctime>
#include <functional>

#include "Sandbox.h"
#include "support/WaitFor.h"

// The whole tracker as the application builds it, on a real sway (scripts/sway-session.sh): the
// compositor's idle notifications decide when quiet hands are idle. Input is given through
// sway's own seat commands, which reach no X client. Elsewhere the case is skipped.
namespace {

bool input()
{
    QProcess swaymsg;
    swaymsg.setStandardOutputFile(QProcess::nullDevice());
    swaymsg.start(QStringLiteral("swaymsg"),
                  {QStringLiteral("seat"), QStringLiteral("-"), QStringLiteral("cursor"),
                   QStringLiteral("move"), QStringLiteral("5"), QStringLiteral("5")});
    return swaymsg.waitForFinished() && swaymsg.exitCode() == 0;
}

TEST(TrackerOnSway, QuietHandsCountAsIdleUntilInputComes)
{
    if (qEnvironmentVariableIsEmpty("SWAYSOCK"))
        GTEST_SKIP() << "needs a sway session (the suite runs this inside "
                        "scripts/sway-session.sh)";
    StoreSandbox store;
    FrozenClock clock{QDate(2025, 3, 12), QTime(10, 0)};
    DesktopWollu wollu;
    wollu.tracker().setIdleThreshold(2);
    QSignalSpy counted(&wollu.tracker(), &WolluTracker::slackingCounted);
    const auto poll = [&] {
        Clock::advance(10);
        wollu.poll();
    };

    ASSERT_TRUE(input());
    poll();
    EXPECT_FALSE(wollu.tracker().openRun());
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 0);

    ASSERT_TRUE(waitFor([&] { return wollu.probes().idleSeconds() >= 2; }));
    poll();
    poll();
    ASSERT_TRUE(wollu.tracker().openRun());
    EXPECT_EQ(wollu.tracker().openRun()->reason, QStringLiteral("idle"));
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 20);
    ASSERT_EQ(counted.count(), 2);
    EXPECT_EQ(counted.last().at(1).toString(), QStringLiteral("idle"));

    // Input ends it at the next poll.
    ASSERT_TRUE(input());
    ASSERT_TRUE(waitFor([&] { return wollu.probes().idleSeconds() < 1; }));
    poll();
    EXPECT_FALSE(wollu.tracker().openRun());
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 20);
}

} // namespace

int main(int argc, char** argv)
{
    // Day keys and working hours are Seoul's.
    qputenv("TZ", "Asia/Seoul");
    tzset();
    return runOffscreenGuiTests(argc, argv);
}
