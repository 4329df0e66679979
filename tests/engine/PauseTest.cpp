// SPDX-License-Identifier: GPL-3.0-or-later
#include "EngineTestSupport.h"

#include "engine/Pause.h"

namespace {

// A break taken at 10:00 on a 09:00-18:00 day, looked at later in some phase of the day.
struct EndCase
{
    const char* what;
    DayState state;
    int hour;
    double pausedMinutes; // -1: the break still runs
};

class PauseEnd : public EngineTest, public ::testing::WithParamInterface<EndCase>
{};

TEST_P(PauseEnd, ABreakEndsWithTheWorkingDayNotWhenItIsNoticed)
{
    const EndCase& c = GetParam();
    Pause::set(ManualState::away, freeze14th(10, 0));
    const double now = freeze14th(c.hour, 0);
    Pause::endAfterWorkingDay(c.state, now);
    if (c.pausedMinutes < 0) {
        EXPECT_EQ(Pause::state(), ManualState::away);
    } else {
        EXPECT_EQ(Pause::state(), ManualState::work);
        EXPECT_DOUBLE_EQ(Pause::pausedMinutes(now), c.pausedMinutes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Phases, PauseEnd,
    ::testing::Values(EndCase{"working", DayState::working, 15, -1},
                      EndCase{"lunch", DayState::lunch, 12, -1},
                      // overtime at 19:00: the break ends at 18:00, not when noticed
                      EndCase{"overtime", DayState::overtime, 19, 480},
                      EndCase{"dinner", DayState::dinner, 19, 480},
                      // left early at 16:00: the day ended then, before its regular end
                      EndCase{"doneEarly", DayState::done, 16, 360},
                      // a day off has no regular end: the break ends at once
                      EndCase{"off", DayState::off, 20, 600}),
    [](const auto& param) { return std::string(param.param.what); });

class PauseTest : public EngineTest
{};

TEST_F(PauseTest, EndingAfterTheWorkingDayLeavesWorkAlone)
{
    const double now = freeze14th(19, 0);
    Pause::endAfterWorkingDay(DayState::overtime, now);
    EXPECT_EQ(Pause::state(), ManualState::work);
    EXPECT_DOUBLE_EQ(Pause::pausedMinutes(now), 0);
}

} // namespace
