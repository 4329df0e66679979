#include "EngineTestSupport.h"

#include "Holidays.h"

#include <cmath>
#include <limits>

namespace {

TEST_F(EngineTest, emptyStoreGivesOfficeHoursAndNoRates)
{
    EXPECT_EQ(Cfg::workStart(), 540);
    EXPECT_EQ(Cfg::workEnd(), 1080);
    EXPECT_EQ(Cfg::lunchStart(), 720);
    EXPECT_EQ(Cfg::lunchEnd(), 780);
    EXPECT_TRUE(Cfg::excludeWeekend());
    EXPECT_TRUE(Cfg::salaryPretax());
    EXPECT_DOUBLE_EQ(Cfg::dailyWorkMinutes(), 480);
    EXPECT_EQ(Cfg::hourlyWonLegal(), 0);
    EXPECT_EQ(Cfg::hourlyWonThisMonth(), 0);
}

// A stored value of the wrong kind is converted, never replaced by the default.
TEST_F(EngineTest, storedTextIsConvertedNotDefaulted)
{
    Store::standard().set("workStart", QStringLiteral("abc"));
    Store::standard().set("workEnd", QStringLiteral("600"));
    Store::standard().set("excludeWeekend", QStringLiteral("no"));
    EXPECT_EQ(Cfg::workStart(), 0);
    EXPECT_EQ(Cfg::workEnd(), 600);
    EXPECT_FALSE(Cfg::excludeWeekend());
}

// March 2026 has 21 working days (22 weekdays less the substitute day of 2 March).
TEST_F(EngineTest, ratesUseTheLegalMonthAndThisMonth)
{
    Cfg::save(540, 1080, 720, 780, 3'000'000, true);
    EXPECT_EQ(Cfg::workingDaysThisMonth(), 21);
    EXPECT_NEAR(Cfg::hourlyWonLegal(), 3'000'000 / (8 * 21.75), 1e-6);
    EXPECT_NEAR(Cfg::hourlyWonThisMonth(), 3'000'000 / (8 * 21.0), 1e-6);
}

struct Schedule
{
    qint64 workStart, workEnd, lunchStart, lunchEnd, salary;
    double minutes;
};

class DegenerateSchedule : public EngineTest, public ::testing::WithParamInterface<Schedule>
{};

TEST_P(DegenerateSchedule, ratesStayFiniteAndNonNegative)
{
    const Schedule& s = GetParam();
    Cfg::save(s.workStart, s.workEnd, s.lunchStart, s.lunchEnd, s.salary, true);
    EXPECT_DOUBLE_EQ(Cfg::dailyWorkMinutes(), s.minutes);
    for (double rate : {Cfg::hourlyWonLegal(), Cfg::hourlyWonThisMonth()}) {
        EXPECT_TRUE(std::isfinite(rate));
        EXPECT_GE(rate, 0);
        if (s.minutes <= 0 || s.salary < 1) {
            EXPECT_EQ(rate, 0);
        }
    }
}

constexpr qint64 kMax = std::numeric_limits<qint64>::max();
constexpr qint64 kMin = std::numeric_limits<qint64>::min();

INSTANTIATE_TEST_SUITE_P(
    Cfg, DegenerateSchedule,
    ::testing::Values(Schedule{540, 1080, 780, 720, 3'000'000, 540}, // lunch reversed: none
                      Schedule{1080, 540, 720, 780, 3'000'000, 0},   // end before start
                      Schedule{540, 540, 0, 0, 3'000'000, 0},        // empty day
                      Schedule{540, 1080, 720, 780, -5, 480},        // negative salary
                      Schedule{540, 1080, 720, 780, kMax, 480},      // salary at the limit
                      Schedule{kMin, kMax, kMax, kMin, kMax, 2.0 * kMax + 1},
                      Schedule{kMax, kMin, kMin, kMax, kMax, 0},
                      Schedule{0, 100'000'000'000, 0, 0, 1, 100'000'000'000}));

struct MonthCase
{
    int year, month;
    bool excludeWeekend;
    int days;
};

class WorkingDays : public EngineTest, public ::testing::WithParamInterface<MonthCase>
{};

TEST_P(WorkingDays, countsWeekdaysThatAreNoHoliday)
{
    const MonthCase& c = GetParam();
    freezeAt(c.year, c.month, 15, 12, 0);
    Cfg::save(540, 1080, 720, 780, 1, c.excludeWeekend);
    EXPECT_EQ(Cfg::workingDaysThisMonth(), c.days);
}

INSTANTIATE_TEST_SUITE_P(
    Cfg, WorkingDays,
    ::testing::Values(MonthCase{2025, 10, true, 18}, // 추석, substitute, 개천절, 한글날
                      MonthCase{2025, 10, false, 31}, MonthCase{2026, 2, true, 17},
                      MonthCase{2026, 2, false, 28}, MonthCase{2028, 2, false, 29},
                      MonthCase{2026, 5, true, 18}, // 노동절, 어린이날, substitute of 5/24
                      MonthCase{2026, 6, true, 22}, // 현충일 on a Saturday counts once
                      MonthCase{2025, 5, true, 20}));

// The count is kept per month; saving the settings must take effect at once.
TEST_F(EngineTest, workingDaysAreCachedUntilSaveOrNextMonth)
{
    Cfg::save(540, 1080, 720, 780, 1, true);
    EXPECT_EQ(Cfg::workingDaysThisMonth(), 21);
    Store::standard().set("excludeWeekend", false);
    EXPECT_EQ(Cfg::workingDaysThisMonth(), 21);
    Cfg::save(540, 1080, 720, 780, 1, false);
    EXPECT_EQ(Cfg::workingDaysThisMonth(), 31);
    freezeAt(2026, 4, 1, 0, 0);
    EXPECT_EQ(Cfg::workingDaysThisMonth(), 30);
}

TEST_F(EngineTest, saveReachesTheFileBeforeReturning)
{
    Cfg::save(600, 1140, 720, 780, 2'500'000, false);
    Cfg::setShowPretaxTag(false);
    const QString copy = dir_.filePath("copy.conf");
    ASSERT_TRUE(QFile::copy(storePath(), copy));
    const Store onDisk(copy);
    EXPECT_EQ(onDisk.integer("workStart"), 600);
    EXPECT_EQ(onDisk.integer("monthlySalaryWon"), 2'500'000);
    EXPECT_FALSE(onDisk.boolean("excludeWeekend"));
    EXPECT_FALSE(onDisk.boolean("showPretaxTag"));
    EXPECT_TRUE(onDisk.contains("showPretaxTag"));
}

} // namespace
