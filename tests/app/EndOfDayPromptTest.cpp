// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/eod/EndOfDayPrompt.h"
#include "analytics/Analytics.h"
#include "engine/Eod.h"
#include "engine/SettingsKeys.h"
#include "engine/Store.h"
#include "ui/eod/EodWindow.h"
#include "ui/eod/EodWindowController.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include "Sandbox.h"

namespace {

// Overtime on a Wednesday with the default schedule: the question is due.
class EndOfDayPromptTest : public testing::Test
{
protected:
    void SetUp() override { Analytics::setDemoRun(); }

    StoreSandbox sandbox;
    FrozenClock clock{QDate(2025, 3, 12), QTime(18, 30)};
};

// Qt closes every window before it quits, the way the window manager closes one; only the window
// manager's close is the user's answer ("야근"). A quit answers nothing, so the next start asks.
TEST_F(EndOfDayPromptTest, AQuitClosesThePromptWithoutAnAnswerAndTheWindowManagersCloseIsOvertime)
{
    EndOfDayPrompt prompt;
    prompt.setActivates(false);
    QSignalSpy chosen(&prompt, &EndOfDayPrompt::chosen);
    ASSERT_TRUE(prompt.askEndOfDay());
    ASSERT_TRUE(prompt.isOpen());
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    EXPECT_FALSE(prompt.controller()->window()->isVisible());
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_FALSE(Eod::chosenToday());
    EXPECT_FALSE(Store::standard().contains(SettingsKeys::eodChoice));

    // The application lives on (a quit can be refused): the question is asked again and the
    // window manager's close answers it.
    ASSERT_TRUE(prompt.askEndOfDay());
    prompt.controller()->window()->close();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), QStringLiteral("overtime"));
    EXPECT_TRUE(Eod::chosenToday());
}

} // namespace
