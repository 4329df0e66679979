// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux idle probe where nothing can tell the idle time: no X server (Qt's offscreen
// platform, as under a Wayland compositor without XWayland's extension) and no desktop service
// on the buses (both addresses lead nowhere).

#include "platform/IdleTime.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

TEST(HeadlessIdleTime, IsUnknownNotZero)
{
    IdleTime idle;
    EXPECT_EQ(idle.seconds(), std::nullopt);
    QCoreApplication::processEvents();
    EXPECT_EQ(idle.seconds(), std::nullopt) << "still unknown once every source has been asked";
    EXPECT_FALSE(idle.idleInhibited());
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tockwork-test-bus");
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tockwork-test-bus");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
