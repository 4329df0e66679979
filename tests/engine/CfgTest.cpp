#include "EngineTestSupport.h"

#include "engine/Holidays.h"

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
                       M{2026, 6, true, 22},  // 현충일 on a Saturday counts once
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

TEST(Holidays, matchTheOfficialCalendarsWithNamesAndSubstitutes)
{
    const std::pair<int, const char*> years[] = {
        {2023, "1/1 1/21 1/22 1/23 1/24 3/1 5/5 5/27 5/29 6/6 8/15 9/28 9/29 9/30 10/3 10/9 12/25"},
        // 5 May is both 어린이날 and 부처님 오신 날: 6 May is the substitute.
        {2025, "1/1 1/28 1/29 1/30 3/1 3/3 5/5 5/6 6/6 8/15 10/3 10/5 10/6 10/7 10/8 10/9 12/25"},
        // From 2026: 노동절 (1 May) and 제헌절 (17 July).
        {2026, "1/1 2/16 2/17 2/18 3/1 3/2 5/1 5/5 5/24 5/25 6/6 7/17 8/15 8/17 9/24 9/25 9/26 "
               "10/3 10/5 10/9 12/25"},
        {2027, "1/1 2/6 2/7 2/8 2/9 3/1 5/1 5/3 5/5 5/13 6/6 7/17 7/19 8/15 8/16 9/14 9/15 9/16 "
               "10/3 10/4 10/9 10/11 12/25 12/27"},
        // The 추석 block of 2-4 October holds 개천절: one substitute, 5 October.
        {2028, "1/1 1/26 1/27 1/28 3/1 5/1 5/2 5/5 6/6 7/17 8/15 10/2 10/3 10/4 10/5 10/9 12/25"},
        {2030, "1/1 2/2 2/3 2/4 2/5 3/1 5/1 5/5 5/6 5/9 6/6 7/17 8/15 9/11 9/12 9/13 10/3 10/9 "
               "12/25"},
        {2040, "1/1 2/11 2/12 2/13 2/14 3/1 5/1 5/5 5/7 5/18 6/6 7/17 8/15 9/20 9/21 9/22 10/3 "
               "10/9 12/25"}};
    for (const auto& [year, days] : years) {
        QStringList listed;
        for (const Holidays::Named& h : Holidays::named(year)) {
            listed << QStringLiteral("%1/%2").arg(h.date.month()).arg(h.date.day());
            EXPECT_TRUE(Holidays::isHoliday(h.date)) << qPrintable(h.date.toString());
        }
        EXPECT_EQ(listed.join(u' '), QString::fromLatin1(days));
        EXPECT_EQ(Holidays::compute(year).size(), listed.size()) << year;
    }

    QHash<QDate, QString> names;
    for (const Holidays::Named& h : Holidays::named(2025))
        names.insert(h.date, h.name);
    EXPECT_EQ(names.value(QDate(2025, 3, 3)), QStringLiteral("대체공휴일"));
    EXPECT_EQ(names.value(QDate(2025, 5, 5)), QStringLiteral("어린이날, 부처님 오신 날"));

    // 제헌절 and 노동절 before 2026; 현충일 on a Saturday has no substitute.
    for (const QDate& day : {QDate(2025, 7, 17), QDate(2025, 5, 1), QDate(2026, 6, 8), QDate()})
        EXPECT_FALSE(Holidays::isHoliday(day)) << qPrintable(day.toString());
    EXPECT_TRUE(Holidays::isHoliday(QDate(1997, 2, 8))); // Korea's 설날 1997, China's was the 7th
}

} // namespace
