#include "Holidays.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

struct HolidayYear
{
    int year;
    const char* days; // every public holiday as month/day, substitute days included
};

class OfficialHolidays : public ::testing::TestWithParam<HolidayYear>
{};

// The government's calendars, substitute days included. The lunar days follow the Korean
// calendar, which in 2023 (부처님 오신 날), 2028 (설날) and 2040 (추석) differs from the Chinese
// one.
TEST_P(OfficialHolidays, matchTheCalendarOfTheYear)
{
    const HolidayYear& y = GetParam();
    QStringList listed;
    for (const Holidays::Named& h : Holidays::named(y.year))
        listed << QStringLiteral("%1/%2").arg(h.date.month()).arg(h.date.day());
    EXPECT_EQ(listed.join(u' '), QString::fromLatin1(y.days));

    const QSet<int> set = Holidays::compute(y.year);
    EXPECT_EQ(set.size(), listed.size());
    for (const Holidays::Named& h : Holidays::named(y.year)) {
        EXPECT_TRUE(set.contains(h.date.dayOfYear()));
        EXPECT_TRUE(Holidays::isHoliday(h.date)) << qPrintable(h.date.toString());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Holidays, OfficialHolidays,
    ::testing::Values(
        HolidayYear{2023, "1/1 1/21 1/22 1/23 1/24 3/1 5/5 5/27 5/29 6/6 8/15 9/28 9/29 9/30 "
                          "10/3 10/9 12/25"},
        HolidayYear{2024, "1/1 2/9 2/10 2/11 2/12 3/1 5/5 5/6 5/15 6/6 8/15 9/16 9/17 9/18 "
                          "10/3 10/9 12/25"},
        // 5 May is both 어린이날 and 부처님 오신 날: 6 May is the substitute.
        HolidayYear{2025, "1/1 1/28 1/29 1/30 3/1 3/3 5/5 5/6 6/6 8/15 10/3 10/5 10/6 10/7 "
                          "10/8 10/9 12/25"},
        // From 2026: 노동절 (1 May) and 제헌절 (17 July).
        HolidayYear{2026, "1/1 2/16 2/17 2/18 3/1 3/2 5/1 5/5 5/24 5/25 6/6 7/17 8/15 8/17 "
                          "9/24 9/25 9/26 10/3 10/5 10/9 12/25"},
        HolidayYear{2027, "1/1 2/6 2/7 2/8 2/9 3/1 5/1 5/3 5/5 5/13 6/6 7/17 7/19 8/15 8/16 "
                          "9/14 9/15 9/16 10/3 10/4 10/9 10/11 12/25 12/27"},
        // The 추석 block of 2-4 October holds 개천절: one substitute, 5 October.
        HolidayYear{2028, "1/1 1/26 1/27 1/28 3/1 5/1 5/2 5/5 6/6 7/17 8/15 10/2 10/3 10/4 "
                          "10/5 10/9 12/25"},
        HolidayYear{2030, "1/1 2/2 2/3 2/4 2/5 3/1 5/1 5/5 5/6 5/9 6/6 7/17 8/15 9/11 9/12 "
                          "9/13 10/3 10/9 12/25"},
        HolidayYear{2040, "1/1 2/11 2/12 2/13 2/14 3/1 5/1 5/5 5/7 5/18 6/6 7/17 8/15 9/20 "
                          "9/21 9/22 10/3 10/9 12/25"}));

TEST(HolidayNames, nameSharedAndSubstituteDays)
{
    QHash<QDate, QString> names;
    for (const Holidays::Named& h : Holidays::named(2025))
        names.insert(h.date, h.name);
    EXPECT_EQ(names.value(QDate(2025, 1, 1)), QStringLiteral("신정"));
    EXPECT_EQ(names.value(QDate(2025, 1, 29)), QStringLiteral("설날"));
    EXPECT_EQ(names.value(QDate(2025, 3, 3)), QStringLiteral("대체공휴일"));
    EXPECT_EQ(names.value(QDate(2025, 5, 5)), QStringLiteral("어린이날, 부처님 오신 날"));
    EXPECT_EQ(names.value(QDate(2025, 10, 6)), QStringLiteral("추석"));
}

TEST(HolidayLookup, rejectsOrdinaryAndInvalidDays)
{
    EXPECT_FALSE(Holidays::isHoliday(QDate(2025, 7, 17)));
    EXPECT_FALSE(Holidays::isHoliday(QDate(2025, 5, 1)));
    EXPECT_FALSE(Holidays::isHoliday(QDate(2026, 6, 8))); // 현충일 on Saturday: no substitute
    EXPECT_FALSE(Holidays::isHoliday(QDate()));
    EXPECT_TRUE(Holidays::isHoliday(QDate(1997, 2, 8))); // Korea's 설날 1997, China's was the 7th
}

} // namespace
