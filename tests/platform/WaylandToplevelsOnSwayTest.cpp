// SPDX-License-Identifier: GPL-3.0-or-later
#include "OffscreenGuiTestMain.h"
#include "platform/FrontmostApp.h"
#include "platform/linux/WaylandToplevels.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

// The compositor's list of windows on a real sway with real foot (native) and xterm (XWayland)
// windows. Run inside scripts/sway-session.sh by the test suite; elsewhere each case is skipped.
namespace {

class WaylandToplevelsOnSway : public testing::Test
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
        for (QProcess* p : {&foot, &xterm}) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
    bool start(QProcess& process, const QString& program, const QStringList& args = {})
    {
        process.start(program, args);
        return process.waitForStarted();
    }

    QProcess foot, xterm;
};

TEST_F(WaylandToplevelsOnSway, FollowsTheFocusedWindowItsTitleAndItsClosing)
{
    const auto toplevels = WaylandToplevels::connectToSession();
    ASSERT_TRUE(toplevels) << "sway offers zwlr_foreign_toplevel_manager_v1";
    EXPECT_FALSE(toplevels->activated());
    QSignalSpy changed(toplevels.get(), &WaylandToplevels::changed);

    ASSERT_TRUE(
        start(foot, QStringLiteral("foot"),
              {QStringLiteral("--title=월루 중"), QStringLiteral("sleep"), QStringLiteral("60")}));
    ASSERT_TRUE(waitFor([&] { return toplevels->activated().has_value(); }));
    EXPECT_EQ(toplevels->activated()->appId, QStringLiteral("foot"));
    EXPECT_EQ(toplevels->activated()->title, QStringLiteral("월루 중"));
    EXPECT_GE(changed.count(), 1);

    // An XWayland window takes the focus: listed by its class.
    ASSERT_TRUE(start(xterm, QStringLiteral("xterm"),
                      {QStringLiteral("-title"), QStringLiteral("terminal")}));
    // xterm names itself once mapped: the title may follow the focus.
    ASSERT_TRUE(waitFor([&] {
        return toplevels->activated() && toplevels->activated()->appId == QStringLiteral("XTerm") &&
               toplevels->activated()->title == QStringLiteral("terminal");
    })) << (toplevels->activated() ? toplevels->activated()->title.toStdString() : "none");

    // Back to foot once xterm is gone, and nothing once foot is gone too.
    xterm.kill();
    ASSERT_TRUE(waitFor([&] {
        return toplevels->activated() && toplevels->activated()->appId == QStringLiteral("foot");
    }));
    foot.kill();
    EXPECT_TRUE(waitFor([&] { return !toplevels->activated(); }));
}

TEST_F(WaylandToplevelsOnSway, TheFrontmostAppNamesNativeAndXWaylandWindows)
{
    FrontmostApp front;
    ASSERT_TRUE(start(foot, QStringLiteral("foot")));
    ASSERT_TRUE(waitFor([&] {
        return front.current() && front.current()->windowClass == QStringLiteral("foot");
    })) << (front.current() ? front.current()->windowClass.toStdString() : "nothing in front");
    // Read from foot's desktop entry, which Debian's foot ships.
    if (QFile::exists(QStringLiteral("/usr/share/applications/foot.desktop"))) {
        EXPECT_EQ(front.current()->executable, QStringLiteral("foot"));
    }

    // The X11 source knows the XWayland window's process.
    ASSERT_TRUE(start(xterm, QStringLiteral("xterm")));
    ASSERT_TRUE(waitFor([&] {
        return front.current() && front.current()->pid == xterm.processId();
    })) << (front.current() ? front.current()->windowClass.toStdString() : "nothing in front");
    EXPECT_EQ(front.current()->windowClass, QStringLiteral("XTerm"));
    EXPECT_EQ(front.current()->instance, QStringLiteral("xterm"));
}

} // namespace

int main(int argc, char** argv)
{
    // No window of our own: offscreen leaves the X11 source a connection of its own to XWayland,
    // as under Qt's Wayland plugin.
    return runOffscreenGuiTests(argc, argv);
}
