#include "EngineTestSupport.h"

#include "DayKey.h"
#include "DayState.h"
#include "Dinner.h"
#include "Eod.h"
#include "Pause.h"

namespace {

TEST_F(EngineTest, firstRunHasNoRecords)
{
    EXPECT_EQ(Pause::state(), ManualState::work);
    EXPECT_EQ(Pause::pausedMinutes(Clock::now()), 0);
    EXPECT_FALSE(Dinner::eating());
    EXPECT_FALSE(Eod::chosenToday());
    EXPECT_EQ(today(), QStringLiteral("2026-3-10"));
}

TEST_F(EngineTest, pausesAddUpAndSurviveSwitchingBetweenRestAndAway)
{
    const double t = Clock::now();
    Pause::set(ManualState::rest, t);
    Pause::set(ManualState::away, t + 300); // keeps the running pause
    EXPECT_DOUBLE_EQ(Pause::pausedMinutes(t + 540), 9);
    Pause::set(ManualState::work, t + 600);
    EXPECT_EQ(Pause::state(), ManualState::work);
    EXPECT_DOUBLE_EQ(Pause::pausedMinutes(t + 9999), 10);

    Store::standard().set("manualState", QStringLiteral("sleeping"));
    EXPECT_EQ(Pause::state(), ManualState::work);
}

TEST_F(EngineTest, dinnerCountsTotalAndNightPartAndReachesTheFile)
{
    const double start = at(2026, 3, 10, 21, 30);
    Dinner::begin(start);
    Dinner::begin(start + 600); // a running break keeps its start
    EXPECT_TRUE(Dinner::eating());
    EXPECT_DOUBLE_EQ(Dinner::nightSeconds(start + 3600), 1800);
    Dinner::end(start + 3600);
    Dinner::end(start + 7200); // nothing runs: no change
    EXPECT_FALSE(Dinner::eating());
    EXPECT_DOUBLE_EQ(Dinner::seconds(start + 9000), 3600);
    EXPECT_DOUBLE_EQ(Dinner::nightSeconds(start + 9000), 1800);

    const QString copy = dir_.filePath("copy.conf");
    ASSERT_TRUE(QFile::copy(storePath(), copy));
    EXPECT_DOUBLE_EQ(Store(copy).real("dinnerSec"), 3600);
}

// A break or pause still running at midnight belongs to neither day.
TEST_F(EngineTest, recordsResetOnTheFirstAccessOfANewDay)
{
    freezeAt(2026, 3, 10, 23, 0);
    Dinner::begin(Clock::now());
    Pause::set(ManualState::away, Clock::now());
    Eod::choose("overtime");
    Eod::choose("left");
    EXPECT_TRUE(Eod::leftToday());

    freezeAt(2026, 3, 11, 1, 0);
    EXPECT_EQ(today(), QStringLiteral("2026-3-11"));
    EXPECT_FALSE(Dinner::eating());
    EXPECT_EQ(Dinner::seconds(Clock::now()), 0);
    EXPECT_EQ(Pause::state(), ManualState::work);
    EXPECT_EQ(Pause::pausedMinutes(Clock::now()), 0);
    EXPECT_FALSE(Eod::chosenToday());
    EXPECT_FALSE(Eod::leftToday());
    EXPECT_EQ(Store::standard().text("dinnerDay"), QStringLiteral("2026-3-11"));
}

struct Overlap
{
    int startDay, startHour, startMinute, endDay, endHour, endMinute;
    double seconds;
};

class NightOverlap : public EngineTest, public ::testing::WithParamInterface<Overlap>
{};

// Only the night window (00:00-06:00, 22:00-24:00) of the day on which the interval ends counts.
TEST_P(NightOverlap, countsTheEndDaysWindowOnly)
{
    const Overlap& o = GetParam();
    EXPECT_DOUBLE_EQ(Dinner::nightOverlapSec(at(2026, 3, o.startDay, o.startHour, o.startMinute),
                                             at(2026, 3, o.endDay, o.endHour, o.endMinute)),
                     o.seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Dinner, NightOverlap,
    ::testing::Values(Overlap{10, 21, 30, 11, 0, 30, 1800}, Overlap{10, 21, 30, 10, 22, 30, 1800},
                      Overlap{10, 5, 0, 10, 7, 0, 3600}, Overlap{10, 23, 0, 10, 23, 30, 1800},
                      Overlap{10, 12, 0, 10, 13, 0, 0}, Overlap{10, 23, 0, 10, 22, 0, 0},
                      Overlap{9, 12, 0, 10, 23, 0, 6 * 3600 + 3600}));

// New York springs forward at 02:00 on 8 March 2026: the day has 23 hours.
TEST_F(EngineTest, daylightSavingDayKeepsMidnightsAndKeys)
{
    ScopedTimeZone newYork("America/New_York");
    const QDate day(2026, 3, 8);
    const double midnight = Clock::localMidnight(day);
    EXPECT_DOUBLE_EQ(midnight, 1772946000); // 05:00 UTC
    EXPECT_DOUBLE_EQ(Clock::localMidnight(day.addDays(1)) - midnight, 23 * 3600);

    Clock::freeze(Clock::localMidnight(day.addDays(1)) - 1);
    EXPECT_EQ(today(), QStringLiteral("2026-3-8"));
    Clock::advance(1);
    EXPECT_EQ(today(), QStringLiteral("2026-3-9"));
    // 00:00-06:00 local on the short day is five real hours.
    EXPECT_DOUBLE_EQ(Dinner::nightOverlapSec(midnight, midnight + 5 * 3600), 5 * 3600);
}

// Santiago skips from 00:00 to 01:00 on 11 September 2022: the day begins at 01:00.
TEST_F(EngineTest, dayWithoutMidnightBeginsAtItsFirstInstant)
{
    ScopedTimeZone santiago("America/Santiago");
    const QDate day(2022, 9, 11);
    const double begin = Clock::localMidnight(day);
    EXPECT_EQ(Clock::toLocal(begin).date(), day);
    EXPECT_EQ(Clock::toLocal(begin).time(), QTime(1, 0));
    EXPECT_EQ(Clock::toLocal(begin - 1).date(), day.addDays(-1));
}

// Havana falls back from 01:00 to 00:00 on 6 November 2022: the day begins at the first 00:00.
TEST_F(EngineTest, repeatedMidnightBeginsTheDayAtTheFirst)
{
    ScopedTimeZone havana("America/Havana");
    EXPECT_DOUBLE_EQ(Clock::localMidnight(QDate(2022, 11, 6)), 1667707200); // 04:00 UTC
}

} // namespace
