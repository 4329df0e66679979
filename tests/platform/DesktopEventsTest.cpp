// SPDX-License-Identifier: GPL-3.0-or-later
// Presses anywhere and the active window going full screen, seen from a real X server
// (scripts/xvfb-session.sh: Xvfb and openbox), driven with xdotool as a user would.
#include "platform/DesktopEvents.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

class OnXServer : public testing::Test
{
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            GTEST_SKIP() << "needs an X server (run through scripts/xvfb-session.sh)";
    }
};

TEST_F(OnXServer, PressesAreReportedOnlyWhileWatched)
{
    DesktopEvents desktop;
    QSignalSpy pressed(&desktop, &DesktopEvents::pressed);
    ASSERT_TRUE(xdotool({"mousemove", "200", "200", "click", "1"}));
    QThread::msleep(200);
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed.count(), 0);

    desktop.watchPresses(true);
    ASSERT_TRUE(xdotool({"click", "3"}));
    EXPECT_TRUE(waitFor([&] { return pressed.count() >= 1; }));
    // The wheel is no click.
    const int before = int(pressed.count());
    ASSERT_TRUE(xdotool({"click", "4"}));
    QThread::msleep(200);
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed.count(), before);

    desktop.watchPresses(false);
    ASSERT_TRUE(xdotool({"click", "1"}));
    QThread::msleep(200);
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed.count(), before);
}

TEST_F(OnXServer, AFullScreenActiveWindowIsSeenAndItsChangeAnnounced)
{
    DesktopEvents desktop;
    QSignalSpy changed(&desktop, &DesktopEvents::spaceChanged);
    EXPECT_FALSE(desktop.fullScreenActive());

    QWidget window;
    window.setWindowTitle(QStringLiteral("full screen"));
    window.resize(300, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(waitFor([&] { return changed.count() > 0; })) << "active window change";
    EXPECT_FALSE(desktop.fullScreenActive());

    changed.clear();
    window.showFullScreen();
    ASSERT_TRUE(waitFor([&] { return desktop.fullScreenActive(); }));
    EXPECT_TRUE(waitFor([&] { return changed.count() > 0; }))
        << "the state change of the active window is announced";
    EXPECT_TRUE(desktop.fullScreenActive(window.screen()->geometry()));
    // Another screen's area does not hold it.
    EXPECT_FALSE(desktop.fullScreenActive(QRect(100000, 0, 800, 600)));

    window.showNormal();
    EXPECT_TRUE(waitFor([&] { return !desktop.fullScreenActive(); }));
}

} // namespace
