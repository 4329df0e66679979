// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FrontmostApp.h"
#include "platform/IdleTime.h"
#include "platform/LoginItem.h"
#include "platform/Presence.h"
#include "platform/SingleInstance.h"
#include "platform/SleepWake.h"

#include <gtest/gtest.h>

// Built from the fallback implementation alone, whatever the system: a platform without the
// desktop facilities answers "unknown", "not away" and "no", and never stops the application.
TEST(FallbackTest, AnswersUnknownAndNo)
{
    IdleTime idle;
    EXPECT_EQ(idle.seconds(), std::nullopt);
    EXPECT_FALSE(idle.idleInhibited());

    Presence presence;
    EXPECT_FALSE(presence.screenSaverOn());
    EXPECT_FALSE(presence.screenLocked());
    EXPECT_FALSE(presence.displayAsleep());
    EXPECT_FALSE(presence.awayByScreen());

    FrontmostApp front;
    EXPECT_FALSE(front.current());

    int wakes = 0;
    SleepWake sleepWake([] { return 1e6; }, nullptr);
    QObject::connect(&sleepWake, &SleepWake::didWake, [&] { ++wakes; });
    sleepWake.checkForMissedSleep();
    EXPECT_EQ(wakes, 0);

    EXPECT_EQ(LoginItem::status(), LoginItem::Status::notRegistered);
    QString error;
    EXPECT_FALSE(LoginItem::registerItem(&error));
    EXPECT_FALSE(error.isEmpty());

    SingleInstance instance;
    EXPECT_TRUE(instance.claim());
    EXPECT_FALSE(instance.activateRunningInstance());
}
