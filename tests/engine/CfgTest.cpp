// SPDX-License-Identifier: GPL-3.0-or-later
#include "EngineTestSupport.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

TEST_F(EngineTest, ratesUseTheLegalMonthAndThisMonthOnceASalaryIsSet)
{
    using V = std::vector<double>;
    EXPECT_EQ((V{double(Cfg::workStart()), double(Cfg::workEnd()), double(Cfg::lunchStart()),
                 double(Cfg::lunchEnd()), Cfg::hourlyWonLegal(), Cfg::hourlyWonThisMonth()}),
              (V{540, 1080, 720, 780, 0, 0}));
    EXPECT_TRUE(Cfg::excludeWeekend() && Cfg::salaryPretax());
    // March 2026 has 21 working days (22 weekdays less the substitute day of 2 March).
    Cfg::save(540, 1080, 720, 780, 3'000'000, true);
    EXPECT_EQ(Cfg::workingDaysThisMonth(), 21);
    EXPECT_NEAR(Cfg::hourlyWonLegal(), 3'000'000 / (8 * 21.75), 1e-6);
    EXPECT_NEAR(Cfg::hourlyWonThisMonth(), 3'000'000 / (8 * 21.0), 1e-6);
}

TEST_F(EngineTest, degenerateSchedulesGiveFiniteNonNegativeRates)
{
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    struct S
    {
        qint64 workStart, workEnd, lunchStart, lunchEnd, salary;
        double minutes;
    };
    for (const S& s :
         {S{540, 1080, 780, 720, 3'000'000, 540}, // lunch reversed: none
          S{1080, 540, 720, 780, 3'000'000, 0},   // end before start
          S{540, 1080, 720, 780, -5, 480},        // negative salary
          S{540, 1080, 720, 780, kMax, 480},      // salary at the limit
          S{kMin, kMax, kMax, kMin, kMax, 2.0 * kMax + 1}, S{kMax, kMin, kMin, kMax, kMax, 0}}) {
        Cfg::save(s.workStart, s.workEnd, s.lunchStart, s.lunchEnd, s.salary, true);
        EXPECT_DOUBLE_EQ(Cfg::dailyWorkMinutes(), s.minutes) << s.workStart;
        const bool paid = s.minutes > 0 && s.salary > 0;
        for (double rate : {Cfg::hourlyWonLegal(), Cfg::hourlyWonThisMonth()})
            EXPECT_TRUE(std::isfinite(rate) && rate >= 0 && (paid || rate == 0)) << rate;
    }
}

TEST_F(EngineTest, workingDaysCountWeekdaysThatAreNoHoliday)
{
    struct M
    {
        int year, month;
        bool excludeWeekend;
        int days;
    };
    for (const M& c : {M{2025, 10, true, 18}, // 추석, substitute, 개천절, 한글날
                       M{2026, 5, true, 18},  // 노동절, 어린이날, substitute of 5/24
                       M{2026, 6, true, 21},  // 지방선거; 현충일 on a Saturday counts once
                       M{2028, 2, false, 29}}) {
        freezeAt(c.year, c.month, 15, 12, 0);
        Cfg::save(540, 1080, 720, 780, 1, c.excludeWeekend);
        EXPECT_EQ(Cfg::workingDaysThisMonth(), c.days) << c.year << "-" << c.month;
    }
}

// The count is kept per month; saving the settings must take effect at once.
TEST_F(EngineTest, workingDaysFollowTheStoreAtOnce)
{
    Cfg::save(540, 1080, 720, 780, 1, true);
    EXPECT_EQ(Cfg::workingDaysThisMonth(), 21);
    Store::standard().set("excludeWeekend", false);
    EXPECT_EQ(Cfg::workingDaysThisMonth(), 31) << "a changed value, not only save(), recounts";
    Cfg::save(540, 1080, 720, 780, 1, true);
    EXPECT_EQ(Cfg::workingDaysThisMonth(), 21);
    EXPECT_TRUE(onDisk().boolean("excludeWeekend")); // saved before returning

    // Another process changes the file; whoever reads it again (the companion's watch) recounts.
    openFile("[General]\nexcludeWeekend=false\n");
    EXPECT_EQ(Cfg::workingDaysThisMonth(), 31);
}

} // namespace
