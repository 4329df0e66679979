// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/WaylandIdle.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

// The compositor's idle notifications on a real sway (scripts/sway-session.sh), with input given
// through sway's own seat commands. Elsewhere each case is skipped.
namespace {

// Sleeps while our connections keep reading.
void spin(int ms)
{
    waitFor([] { return false; }, ms);
}

bool swaymsg(const QStringList& args)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral("swaymsg"), args);
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool input()
{
    return swaymsg({QStringLiteral("seat"), QStringLiteral("-"), QStringLiteral("cursor"),
                    QStringLiteral("move"), QStringLiteral("5"), QStringLiteral("5")});
}

class WaylandIdleOnSway : public testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("SWAYSOCK"))
            GTEST_SKIP() << "needs a sway session (the suite runs this inside "
                            "scripts/sway-session.sh)";
    }
    void TearDown() override
    {
        foot.kill();
        foot.waitForFinished(5000);
    }
    QProcess foot;
};

TEST_F(WaylandIdleOnSway, CountsFromTheLastInputOnceTheCompositorSaysIdle)
{
    const auto idle = WaylandIdle::connectToSession();
    ASSERT_TRUE(idle) << "sway offers an idle protocol";
    // sway 1.7 has KDE's protocol alone; later ones the standard one too, which is preferred.
    EXPECT_FALSE(idle->protocol().isEmpty());
    QSignalSpy changed(idle.get(), &WaylandIdle::idleChanged);
    ASSERT_TRUE(input());
    ASSERT_TRUE(waitFor([&] { return !changed.isEmpty() && changed.last().at(0).toBool(); }));
    const double notified = *idle->seconds();
    EXPECT_GE(notified, 2.0);
    EXPECT_LT(notified, 3.0);
    spin(1000);
    EXPECT_GE(*idle->seconds(), notified + 0.9);

    // Input: 0 at once, and the count starts over.
    ASSERT_TRUE(input());
    ASSERT_TRUE(waitFor([&] { return idle->seconds() == 0.0; }));
    ASSERT_TRUE(waitFor([&] { return idle->seconds() >= 2.0; }));
}

TEST_F(WaylandIdleOnSway, AnIdleInhibitorHoldsTheNotificationBack)
{
    foot.start(QStringLiteral("foot"),
               {QStringLiteral("--app-id=call"), QStringLiteral("sleep"), QStringLiteral("60")});
    ASSERT_TRUE(foot.waitForStarted());
    const QString call = QStringLiteral("[app_id=call]");
    ASSERT_TRUE(waitFor([&] { return swaymsg({call, QStringLiteral("inhibit_idle open")}); }));

    const auto idle = WaylandIdle::connectToSession();
    ASSERT_TRUE(idle);
    ASSERT_TRUE(input());
    spin(4000);
    EXPECT_EQ(idle->seconds(), 0.0) << "idle for " << *idle->seconds() << " s under an inhibitor";

    ASSERT_TRUE(swaymsg({call, QStringLiteral("inhibit_idle none")}));
    EXPECT_TRUE(waitFor([&] { return idle->seconds() >= 2.0; }));
}

} // namespace
