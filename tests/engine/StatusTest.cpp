// SPDX-License-Identifier: GPL-3.0-or-later
#include "EngineTestSupport.h"

#include "engine/DayKey.h"
#include "engine/Dinner.h"
#include "engine/Eod.h"
#include "engine/Pause.h"
#include "engine/Status.h"

#include <cmath>
#include <limits>

namespace {

// The defaults are 09:00-18:00, lunch 12-13.
using StatusTest = EngineTest;

TEST_F(StatusTest, DefaultScheduleWithoutPausesOrDinner)
{
    struct C
    {
        int h, m, s;
        Status expected;
    };
    for (const C& c : {C{8, 30, 0, {DayState::before, 0, 0, 480, 0}},
                       C{10, 30, 30, {DayState::working, 90.5 / 480, 90.5, 389.5, 0}},
                       C{12, 30, 0, {DayState::lunch, 0.375, 180, 300, 0}},
                       C{23, 0, 0, {DayState::overtime, 1, 480, 0, 300}}})
        EXPECT_EQ(computeStatus(freeze14th(c.h, c.m, c.s)), c.expected) << c.h;
}

TEST_F(StatusTest, DinnerComesOffOvertimeAndPausesOffWorkedTime)
{
    Dinner::begin(freeze14th(18, 30));
    Dinner::end(freeze14th(19, 10));
    EXPECT_EQ(computeStatus(freeze14th(19, 30)), (Status{DayState::overtime, 1, 480, 0, 50}));
    Dinner::begin(freeze14th(19, 20));
    EXPECT_EQ(computeStatus(freeze14th(19, 30)), (Status{DayState::dinner, 1, 480, 0, 40}));

    Pause::set(ManualState::rest, on14th(10, 0));
    Pause::set(ManualState::away, on14th(10, 10)); // keeps the running pause
    Pause::set(ManualState::work, on14th(10, 20));
    EXPECT_DOUBLE_EQ(computeStatus(freeze14th(10, 30)).workedMin, 70);
}

TEST_F(StatusTest, WeekendsAndHolidaysAreOffOnlyWhenExcluded)
{
    for (bool exclude : {true, false}) {
        Cfg::save(540, 1080, 720, 780, 0, exclude);
        for (double saturdayOrNewYear : {at(2026, 1, 17, 10, 30), at(2026, 1, 1, 10, 30)})
            EXPECT_EQ(computeStatus(saturdayOrNewYear).state,
                      exclude ? DayState::off : DayState::working);
    }
}

TEST_F(StatusTest, OddStoredValuesGiveFiniteFiguresWithinRange)
{
    const auto expectSane = [&] {
        for (double t : {freeze14th(10, 30), freeze14th(20, 0)}) {
            const Status s = computeStatus(t);
            for (double v : {s.workedMin, s.remainMin, s.overtimeMin})
                EXPECT_TRUE(std::isfinite(v) && v >= 0) << v;
            EXPECT_TRUE(s.progress >= 0 && s.progress <= 1) << s.progress;
        }
    };
    Pause::ensureDay();
    Dinner::ensureDay();
    Store::standard().set(QStringLiteral("pausedSec"), std::numeric_limits<double>::quiet_NaN());
    Store::standard().set(QStringLiteral("dinnerSec"), std::numeric_limits<double>::infinity());
    expectSane();
}

// A number too large for a double is the largest one, not nothing; a negative total is nothing.
TEST_F(StatusTest, HugeAndNegativeStoredTotalsNeitherVanishNorPay)
{
    const double t = freeze14th(11, 0); // two hours into the default day
    struct C
    {
        const char* pausedSec;
        const char* dinnerSec;
        double workedMin;
    };
    int n = 0;
    for (const C& c : {C{"1e999", "0", 0}, C{"-7200", "0", 120}, C{"-1e999", "-1e999", 120}}) {
        // A file of the same name and size rewritten within the file system's timestamp
        // resolution is served from QSettings' parse cache: each case gets its own file.
        openFile(QByteArray("[General]\npauseDay=2026-1-14\ndinnerDay=2026-1-14\npausedSec=") +
                     c.pausedSec + "\ndinnerSec=" + c.dinnerSec + "\n",
                 QStringLiteral("hand%1.conf").arg(++n));
        EXPECT_DOUBLE_EQ(computeStatus(t).workedMin, c.workedMin) << c.pausedSec;
    }
    openFile("[General]\ndinnerDay=2026-1-14\ndinnerSec=-36000\n");
    EXPECT_DOUBLE_EQ(computeStatus(freeze14th(19, 0)).overtimeMin, 60)
        << "a negative dinner total adds no overtime";
}

// Paid time slept through counts on the day of waking; nothing on days off, after leaving, or
// for nonsense.
TEST_F(StatusTest, SleptWorkCountsPaidTimeOnTheDayOfWaking)
{
    struct C
    {
        int fromDay, fromH, fromM, toH, toM;
        double seconds;
    };
    for (const C& c : {C{14, 12, 30, 14, 0, 3600},                           // lunch deducted
                       C{13, 23, 0, 9, 30, 1800}, C{14, 17, 0, 19, 0, 7200}, // overtime counts
                       C{14, 14, 0, 13, 0, 0}})                              // reversed
        EXPECT_DOUBLE_EQ(
            sleptWorkSeconds(at(2026, 1, c.fromDay, c.fromH, c.fromM), freeze14th(c.toH, c.toM)),
            c.seconds)
            << c.fromDay << " " << c.fromH;
    Eod::choose(QStringLiteral("left"));
    EXPECT_EQ(sleptWorkSeconds(on14th(10, 0), on14th(11, 0)), 0);
}

// A break or pause still running at midnight belongs to neither day.
TEST_F(EngineTest, recordsResetOnTheFirstAccessOfANewDay)
{
    freezeAt(2026, 3, 10, 23, 0);
    Dinner::begin(Clock::now());
    Pause::set(ManualState::away, Clock::now());
    Eod::choose("left");

    freezeAt(2026, 3, 11, 1, 0);
    EXPECT_FALSE(Dinner::eating() || Eod::chosenToday() || Eod::leftToday());
    EXPECT_EQ(Dinner::seconds(Clock::now()) + Pause::pausedMinutes(Clock::now()), 0);
    EXPECT_EQ(Pause::state(), ManualState::work);
    EXPECT_EQ(Store::standard().text("dinnerDay"), QStringLiteral("2026-3-11"));
}

// Reading a stale record resets it in memory only; the reset reaches the file with the next write.
TEST_F(EngineTest, readingADayNeverWritesAndTheResetTravelsWithTheNextWrite)
{
    openFile("[General]\npauseDay=2026-3-9\npausedSec=3600\ndinnerDay=2026-3-9\ndinnerSec=60\n"
             "eodDay=2026-3-9\neodChoice=left\nwolluDay=2026-3-9\nwolluSec=500\n",
             "tockwork.conf");
    const QByteArray before = readFile(storePath());
    const quint64 inode = StoreSandbox::inode(storePath());
    freezeAt(2026, 3, 10, 10, 0);

    EXPECT_EQ(Pause::pausedMinutes(Clock::now()), 0);
    EXPECT_EQ(Dinner::seconds(Clock::now()), 0);
    EXPECT_FALSE(Eod::chosenToday());
    EXPECT_GT(computeStatus(Clock::now()).workedMin, 0);
    EXPECT_EQ(readFile(storePath()), before);
    EXPECT_EQ(StoreSandbox::inode(storePath()), inode) << "never replaced";

    Pause::set(ManualState::rest, Clock::now());
    const Store disk = onDisk();
    EXPECT_EQ(disk.text("pauseDay"), QStringLiteral("2026-3-10"));
    EXPECT_EQ(disk.real("pausedSec"), 0);
    EXPECT_EQ(disk.text("dinnerDay"), QStringLiteral("2026-3-10"))
        << "every staged reset goes along";
    EXPECT_EQ(disk.real("dinnerSec"), 0);
}

// Only the night window (00:00-06:00, 22:00-24:00) of the day on which the interval ends counts.
TEST_F(EngineTest, nightOverlapCountsTheEndDaysWindowOnly)
{
    struct O
    {
        int startDay, startHour, endDay, endHour;
        double seconds;
    };
    for (const O& o : {O{10, 21, 11, 1, 3600}, O{10, 5, 10, 7, 3600}, O{10, 12, 10, 13, 0},
                       O{10, 23, 10, 22, 0}, O{9, 12, 10, 23, 25200}})
        EXPECT_DOUBLE_EQ(Dinner::nightOverlapSec(at(2026, 3, o.startDay, o.startHour, 0),
                                                 at(2026, 3, o.endDay, o.endHour, 0)),
                         o.seconds)
            << o.startDay << " " << o.startHour;
}

// New York springs forward at 02:00 on 8 March 2026: the day has 23 hours.
TEST_F(EngineTest, daylightSavingDayKeepsMidnightsAndKeys)
{
    ScopedTimeZone newYork("America/New_York");
    const QDate day(2026, 3, 8);
    const double midnight = Clock::localMidnight(day);
    EXPECT_DOUBLE_EQ(Clock::localMidnight(day.addDays(1)) - midnight, 23 * 3600);

    Clock::freeze(Clock::localMidnight(day.addDays(1)) - 1);
    EXPECT_EQ(today(), QStringLiteral("2026-3-8"));
    Clock::advance(1);
    EXPECT_EQ(today(), QStringLiteral("2026-3-9"));
    // 00:00-06:00 local on the short day is five real hours.
    EXPECT_DOUBLE_EQ(Dinner::nightOverlapSec(midnight, midnight + 5 * 3600), 5 * 3600);
}

} // namespace
