#include "EngineTestSupport.h"

#include "Dinner.h"
#include "Eod.h"
#include "Pause.h"
#include "Status.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

// Wednesday 14 January 2026, an ordinary working day; the defaults are 09:00-18:00, lunch 12-13.
class StatusTest : public EngineTest
{
protected:
    static double on14th(int h, int m, int s = 0) { return at(2026, 1, 14, h, m, s); }
    static double freeze14th(int h, int m, int s = 0)
    {
        Clock::freeze(on14th(h, m, s));
        return Clock::now();
    }
};

struct ClockCase
{
    int h, m, s;
    DayState state;
    double workedMin, progress, remainMin, overtimeMin;
};

class StatusByClock : public StatusTest, public ::testing::WithParamInterface<ClockCase>
{};

TEST_P(StatusByClock, DefaultScheduleWithoutPausesOrDinner)
{
    const ClockCase& c = GetParam();
    const Status s = computeStatus(freeze14th(c.h, c.m, c.s));
    EXPECT_EQ(s.state, c.state);
    EXPECT_NEAR(s.workedMin, c.workedMin, 1e-9);
    EXPECT_NEAR(s.progress, c.progress, 1e-9);
    EXPECT_NEAR(s.remainMin, c.remainMin, 1e-9);
    EXPECT_NEAR(s.overtimeMin, c.overtimeMin, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StatusByClock,
    ::testing::Values(ClockCase{8, 30, 0, DayState::before, 0, 0, 480, 0},
                      ClockCase{10, 30, 30, DayState::working, 90.5, 90.5 / 480, 389.5, 0},
                      ClockCase{12, 30, 0, DayState::lunch, 180, 0.375, 300, 0},
                      ClockCase{13, 30, 0, DayState::working, 210, 210.0 / 480, 270, 0},
                      ClockCase{18, 0, 0, DayState::overtime, 480, 1, 0, 0},
                      ClockCase{23, 0, 0, DayState::overtime, 480, 1, 0, 300}));

TEST_F(StatusTest, DinnerComesOffOvertimeAndPausesOffWorkedTime)
{
    Dinner::begin(freeze14th(18, 30));
    Dinner::end(freeze14th(19, 10));
    Status s = computeStatus(freeze14th(19, 30));
    EXPECT_EQ(s.state, DayState::overtime);
    EXPECT_DOUBLE_EQ(s.overtimeMin, 50);
    Dinner::begin(freeze14th(19, 20));
    s = computeStatus(freeze14th(19, 30));
    EXPECT_EQ(s.state, DayState::dinner);
    EXPECT_DOUBLE_EQ(s.overtimeMin, 40);
    EXPECT_DOUBLE_EQ(s.workedMin, 480);

    Pause::set(ManualState::rest, on14th(10, 0));
    Pause::set(ManualState::work, on14th(10, 20));
    EXPECT_DOUBLE_EQ(computeStatus(freeze14th(10, 30)).workedMin, 70);
}

TEST_F(StatusTest, WeekendsAndHolidaysAreOffOnlyWhenExcluded)
{
    const double saturday = at(2026, 1, 17, 10, 30), newYear = at(2026, 1, 1, 10, 30);
    EXPECT_EQ(computeStatus(saturday).state, DayState::off);
    EXPECT_EQ(computeStatus(newYear).state, DayState::off);
    Cfg::save(540, 1080, 720, 780, 0, false);
    EXPECT_EQ(computeStatus(saturday).state, DayState::working);
    EXPECT_EQ(computeStatus(newYear).state, DayState::working);
}

TEST_F(StatusTest, OddStoredValuesGiveFiniteFiguresWithinRange)
{
    const auto expectSane = [](const Status& s) {
        for (double v : {s.workedMin, s.remainMin, s.overtimeMin})
            EXPECT_TRUE(std::isfinite(v) && v >= 0) << v;
        EXPECT_TRUE(s.progress >= 0 && s.progress <= 1) << s.progress;
    };
    for (const auto& times : {std::array{1080, 540, 780, 720}, std::array{-600, 99999, -5, 3}}) {
        Cfg::save(times[0], times[1], times[2], times[3], 3000000, true);
        expectSane(computeStatus(freeze14th(10, 30)));
        expectSane(computeStatus(freeze14th(20, 0)));
    }
    Cfg::save(540, 1080, 720, 780, 3000000, true);
    Pause::ensureDay();
    Dinner::ensureDay();
    Store::standard().set(QStringLiteral("pausedSec"), std::numeric_limits<double>::quiet_NaN());
    Store::standard().set(QStringLiteral("dinnerSec"), std::numeric_limits<double>::infinity());
    expectSane(computeStatus(freeze14th(10, 30)));
    expectSane(computeStatus(freeze14th(20, 0)));
}

TEST_F(StatusTest, MinutesPastWorkEndDropSeconds)
{
    freeze14th(18, 30);
    EXPECT_DOUBLE_EQ(minutesPastWorkEnd(), 30);
    freeze14th(17, 59, 59);
    EXPECT_DOUBLE_EQ(minutesPastWorkEnd(), -1);
}

struct SleepCase
{
    int fromDay, fromH, fromM, toH, toM;
    double seconds;
};

class SleptWork : public StatusTest, public ::testing::WithParamInterface<SleepCase>
{};

TEST_P(SleptWork, CountsPaidTimeOnTheDayOfWaking)
{
    const SleepCase& c = GetParam();
    const double from = at(2026, 1, c.fromDay, c.fromH, c.fromM);
    EXPECT_DOUBLE_EQ(sleptWorkSeconds(from, freeze14th(c.toH, c.toM)), c.seconds);
}

INSTANTIATE_TEST_SUITE_P(Table, SleptWork,
                         ::testing::Values(SleepCase{14, 12, 30, 14, 0, 3600}, // lunch deducted
                                           SleepCase{14, 7, 0, 8, 0, 0},
                                           SleepCase{13, 23, 0, 9, 30, 1800},
                                           SleepCase{14, 17, 0, 19, 0, 7200}, // overtime counts
                                           SleepCase{14, 14, 0, 13, 0, 0}));  // reversed

TEST_F(StatusTest, SleptWorkIsNothingOnDaysOffAfterLeavingOrForNonsense)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(sleptWorkSeconds(nan, freeze14th(15, 0)), 0);
    EXPECT_EQ(sleptWorkSeconds(at(2026, 1, 17, 10, 0), at(2026, 1, 17, 11, 0)), 0); // Saturday
    Eod::choose(QStringLiteral("left"));
    EXPECT_EQ(sleptWorkSeconds(on14th(10, 0), on14th(11, 0)), 0);
}

} // namespace
