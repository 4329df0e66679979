#include "Status.h"
#include "Cfg.h"
#include "Clock.h"
#include "Dinner.h"
#include "Eod.h"
#include "Pause.h"
#include "Store.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>

namespace {

// Wednesday 14 January 2026, an ordinary working day in Seoul.
const QDate kWeekday(2026, 1, 14);

double at(const QDate& date, int h, int m, int s = 0)
{
    return Clock::toEpoch(QDateTime(date, QTime(h, m, s)));
}

class WorkDay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("TZ", "Asia/Seoul");
        tzset();
        ASSERT_TRUE(dir_.isValid());
        Store::openStandardAt(dir_.filePath(QStringLiteral("tockwork.conf")));
        Cfg::save(540, 1080, 720, 780, 3000000, true);
    }
    void TearDown() override { Clock::unfreeze(); }

    static double freezeAt(const QDate& date, int h, int m, int s = 0)
    {
        Clock::freeze(at(date, h, m, s));
        return Clock::now();
    }

private:
    QTemporaryDir dir_;
};

struct ClockCase
{
    int h, m, s;
    DayState state;
    double workedMin, progress, remainMin, overtimeMin;
};

class StatusByClock : public WorkDay, public ::testing::WithParamInterface<ClockCase>
{};

TEST_P(StatusByClock, DefaultScheduleWithoutPausesOrDinner)
{
    const ClockCase& c = GetParam();
    const Status s = computeStatus(freezeAt(kWeekday, c.h, c.m, c.s));
    EXPECT_EQ(s.state, c.state);
    EXPECT_NEAR(s.workedMin, c.workedMin, 1e-9);
    EXPECT_NEAR(s.progress, c.progress, 1e-9);
    EXPECT_NEAR(s.remainMin, c.remainMin, 1e-9);
    EXPECT_NEAR(s.overtimeMin, c.overtimeMin, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StatusByClock,
    ::testing::Values(ClockCase{0, 30, 0, DayState::before, 0, 0, 480, 0},
                      ClockCase{8, 30, 0, DayState::before, 0, 0, 480, 0},
                      ClockCase{10, 30, 0, DayState::working, 90, 0.1875, 390, 0},
                      ClockCase{10, 30, 30, DayState::working, 90.5, 90.5 / 480, 389.5, 0},
                      ClockCase{12, 30, 0, DayState::lunch, 180, 0.375, 300, 0},
                      ClockCase{13, 30, 0, DayState::working, 210, 210.0 / 480, 270, 0},
                      ClockCase{17, 59, 59, DayState::working, 480 - 1 / 60.0, 1 - 1 / 28800.0,
                                1 / 60.0, 0},
                      ClockCase{18, 0, 0, DayState::overtime, 480, 1, 0, 0},
                      ClockCase{23, 0, 0, DayState::overtime, 480, 1, 0, 300}));

TEST_F(WorkDay, DinnerComesOffOvertimeAndPausesOffWorkedTime)
{
    freezeAt(kWeekday, 18, 30);
    Dinner::begin(Clock::now());
    freezeAt(kWeekday, 19, 10);
    Dinner::end(Clock::now());
    Status s = computeStatus(freezeAt(kWeekday, 19, 30));
    EXPECT_EQ(s.state, DayState::overtime);
    EXPECT_DOUBLE_EQ(s.overtimeMin, 50);
    EXPECT_DOUBLE_EQ(s.workedMin, 480); // dinner never touches the regular day

    Dinner::begin(freezeAt(kWeekday, 19, 20));
    s = computeStatus(freezeAt(kWeekday, 19, 30));
    EXPECT_EQ(s.state, DayState::dinner);
    EXPECT_DOUBLE_EQ(s.overtimeMin, 40);

    Pause::set(ManualState::rest, at(kWeekday, 10, 0));
    Pause::set(ManualState::work, at(kWeekday, 10, 20));
    s = computeStatus(freezeAt(kWeekday, 10, 30));
    EXPECT_DOUBLE_EQ(s.workedMin, 70);
    EXPECT_DOUBLE_EQ(s.remainMin, 410);
}

TEST_F(WorkDay, WeekendsAndHolidaysAreOffOnlyWhenExcluded)
{
    const QDate saturday(2026, 1, 17), newYear(2026, 1, 1);
    EXPECT_EQ(computeStatus(freezeAt(saturday, 10, 30)).state, DayState::off);
    EXPECT_EQ(computeStatus(freezeAt(newYear, 10, 30)).state, DayState::off);
    // A day off still carries the clock's figures; only the texts hide them.
    EXPECT_DOUBLE_EQ(computeStatus(freezeAt(saturday, 10, 30)).workedMin, 90);

    Cfg::save(540, 1080, 720, 780, 3000000, false);
    EXPECT_EQ(computeStatus(freezeAt(saturday, 10, 30)).state, DayState::working);
    EXPECT_EQ(computeStatus(freezeAt(newYear, 10, 30)).state, DayState::working);
}

TEST_F(WorkDay, OddStoredValuesGiveFiniteFiguresWithinRange)
{
    const auto expectSane = [](const Status& s) {
        for (double v : {s.workedMin, s.remainMin, s.overtimeMin}) {
            EXPECT_TRUE(std::isfinite(v) && v >= 0) << v;
        }
        EXPECT_TRUE(s.progress >= 0 && s.progress <= 1) << s.progress;
    };
    Cfg::save(1080, 540, 780, 720, 3000000, true); // every pair reversed
    expectSane(computeStatus(freezeAt(kWeekday, 10, 30)));
    expectSane(computeStatus(freezeAt(kWeekday, 20, 0)));
    Cfg::save(-600, 99999, -5, 3, 1, true);
    expectSane(computeStatus(freezeAt(kWeekday, 10, 30)));

    Cfg::save(540, 1080, 720, 780, 3000000, true);
    Pause::ensureDay();
    Dinner::ensureDay();
    Store::standard().set(QStringLiteral("pausedSec"), std::numeric_limits<double>::quiet_NaN());
    Store::standard().set(QStringLiteral("dinnerSec"), std::numeric_limits<double>::infinity());
    expectSane(computeStatus(freezeAt(kWeekday, 10, 30)));
    expectSane(computeStatus(freezeAt(kWeekday, 20, 0)));
}

TEST_F(WorkDay, MinutesPastWorkEndDropSeconds)
{
    freezeAt(kWeekday, 18, 30);
    EXPECT_DOUBLE_EQ(minutesPastWorkEnd(), 30);
    freezeAt(kWeekday, 17, 59, 59);
    EXPECT_DOUBLE_EQ(minutesPastWorkEnd(), -1);
}

struct SleepCase
{
    int fromDayOffset, fromH, fromM, toH, toM;
    double seconds;
};

class SleptWork : public WorkDay, public ::testing::WithParamInterface<SleepCase>
{};

TEST_P(SleptWork, CountsPaidTimeOnTheDayOfWaking)
{
    const SleepCase& c = GetParam();
    freezeAt(kWeekday, c.toH, c.toM);
    const double from = at(kWeekday.addDays(c.fromDayOffset), c.fromH, c.fromM);
    EXPECT_DOUBLE_EQ(sleptWorkSeconds(from, at(kWeekday, c.toH, c.toM)), c.seconds);
}

INSTANTIATE_TEST_SUITE_P(Table, SleptWork,
                         ::testing::Values(SleepCase{0, 12, 30, 14, 0, 3600}, // lunch deducted
                                           SleepCase{0, 11, 0, 12, 30, 3600},
                                           SleepCase{0, 7, 0, 8, 0, 0},
                                           SleepCase{-1, 23, 0, 9, 30, 1800},
                                           SleepCase{0, 17, 0, 19, 0, 7200}, // overtime counts
                                           SleepCase{0, 14, 0, 13, 0, 0}));  // reversed

TEST_F(WorkDay, SleptWorkIsNothingOnDaysOffAfterLeavingOrForNonsense)
{
    freezeAt(kWeekday, 15, 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(sleptWorkSeconds(nan, Clock::now()), 0);
    EXPECT_EQ(sleptWorkSeconds(at(kWeekday, 10, 0), nan), 0);

    const QDate saturday(2026, 1, 17);
    EXPECT_EQ(sleptWorkSeconds(at(saturday, 10, 0), at(saturday, 11, 0)), 0);

    Eod::choose(QStringLiteral("left"));
    EXPECT_EQ(sleptWorkSeconds(at(kWeekday, 10, 0), at(kWeekday, 11, 0)), 0);
}

} // namespace
