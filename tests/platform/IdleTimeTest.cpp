// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeBus.h"
#include "TestWindow.h"

#include "platform/IdleTime.h"

using DesktopSession::waitFor;

namespace {

const QString kMutter = QStringLiteral("org.gnome.Mutter.IdleMonitor");
const QString kMutterPath = QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core");

bool moveMouse(int x, int y)
{
    return DesktopSession::run(
               QStringLiteral("xdotool"),
               {QStringLiteral("mousemove"), QString::number(x), QString::number(y)}) == 0;
}

using IdleTimeTest = DesktopTest;

TEST_F(IdleTimeTest, XServerIdleGrowsWithoutInputAndResetsOnInput)
{
    IdleTime idle;
    ASSERT_TRUE(moveMouse(10, 10));
    ASSERT_TRUE(waitFor([&] { return idle.seconds() >= 1.0; }));
    ASSERT_TRUE(moveMouse(300, 200));
    EXPECT_TRUE(waitFor([&] { return idle.seconds() < 0.5; }));
}

TEST_F(IdleTimeTest, GnomeIdleMonitorAnswersFirstAndOutlivesOneFailure)
{
    FakeService mutter(FakeService::Bus::session, kMutter);
    bool failing = false;
    mutter.setMethod(kMutterPath, QStringLiteral("GetIdletime"), [&](const QDBusMessage& call) {
        return failing ? call.createErrorReply(QDBusError::Failed, QStringLiteral("busy"))
                       : call.createReply(QVariant::fromValue(quint64(42000)));
    });
    ASSERT_TRUE(moveMouse(5, 5)); // the X server's own figure is near 0

    IdleTime idle;
    ASSERT_TRUE(waitFor([&] { return idle.seconds() >= 42; }));
    EXPECT_LT(idle.seconds(), 50);

    // One failed answer keeps the last figure; a service that keeps failing hands over to the X
    // server.
    failing = true;
    const int before = mutter.calls(QStringLiteral("GetIdletime"));
    ASSERT_TRUE(waitFor([&] {
        idle.seconds();
        return mutter.calls(QStringLiteral("GetIdletime")) > before + 1;
    }));
    EXPECT_GE(idle.seconds(), 42);
    EXPECT_TRUE(waitFor([&] { return idle.seconds() < 42; }));
}

TEST_F(IdleTimeTest, IdleInhibitorOfLogindCounts)
{
    for (const auto& [blocked, inhibited] :
         {std::pair{"handle-power-key:idle:sleep", true}, std::pair{"sleep:shutdown", false}}) {
        FakeService logind(FakeService::Bus::system, QStringLiteral("org.freedesktop.login1"));
        logind.setProperty(QStringLiteral("/org/freedesktop/login1"),
                           QStringLiteral("org.freedesktop.login1.Manager"),
                           QStringLiteral("BlockInhibited"), QString::fromLatin1(blocked));
        IdleTime idle;
        ASSERT_TRUE(waitFor([&] {
            idle.idleInhibited();
            return logind.calls(QStringLiteral("Get")) > 0;
        }));
        EXPECT_EQ(waitFor([&] { return idle.idleInhibited(); }, std::chrono::milliseconds(300)),
                  inhibited)
            << blocked;
    }
}

} // namespace
