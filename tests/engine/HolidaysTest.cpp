#include "Holidays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using MonthDay = std::pair<int, int>;

struct HolidayYear
{
    int year;
    std::vector<MonthDay> days; // every public holiday of the year, substitutes included
};

class OfficialHolidays : public ::testing::TestWithParam<HolidayYear>
{};

// Official calendars of the Korean government (substitute days included); the lunar days follow
// the Korean calendar, which in 2023, 2028 and 2040 differs from the Chinese one.
TEST_P(OfficialHolidays, matchTheCalendarOfTheYear)
{
    const HolidayYear& y = GetParam();
    std::vector<MonthDay> computed;
    for (const Holidays::Named& h : Holidays::named(y.year))
        computed.emplace_back(h.date.month(), h.date.day());
    EXPECT_EQ(computed, y.days);

    const QSet<int> set = Holidays::compute(y.year);
    EXPECT_EQ(set.size(), qsizetype(y.days.size()));
    for (const auto& [m, d] : y.days) {
        EXPECT_TRUE(set.contains(QDate(y.year, m, d).dayOfYear())) << m << "/" << d;
        EXPECT_TRUE(Holidays::isHoliday(QDate(y.year, m, d))) << m << "/" << d;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Holidays, OfficialHolidays,
    ::testing::Values(
        // 부처님 오신 날 on Saturday 27 May, substitute Monday 29 May.
        HolidayYear{2023,
                    {{1, 1},
                     {1, 21},
                     {1, 22},
                     {1, 23},
                     {1, 24},
                     {3, 1},
                     {5, 5},
                     {5, 27},
                     {5, 29},
                     {6, 6},
                     {8, 15},
                     {9, 28},
                     {9, 29},
                     {9, 30},
                     {10, 3},
                     {10, 9},
                     {12, 25}}},
        HolidayYear{2024,
                    {{1, 1},
                     {2, 9},
                     {2, 10},
                     {2, 11},
                     {2, 12},
                     {3, 1},
                     {5, 5},
                     {5, 6},
                     {5, 15},
                     {6, 6},
                     {8, 15},
                     {9, 16},
                     {9, 17},
                     {9, 18},
                     {10, 3},
                     {10, 9},
                     {12, 25}}},
        // 5 May is both 어린이날 and 부처님 오신 날: 6 May is the substitute.
        HolidayYear{2025,
                    {{1, 1},
                     {1, 28},
                     {1, 29},
                     {1, 30},
                     {3, 1},
                     {3, 3},
                     {5, 5},
                     {5, 6},
                     {6, 6},
                     {8, 15},
                     {10, 3},
                     {10, 5},
                     {10, 6},
                     {10, 7},
                     {10, 8},
                     {10, 9},
                     {12, 25}}},
        // From 2026: 노동절 (1 May) and 제헌절 (17 July).
        HolidayYear{2026, {{1, 1},  {2, 16}, {2, 17}, {2, 18}, {3, 1},  {3, 2},  {5, 1},
                           {5, 5},  {5, 24}, {5, 25}, {6, 6},  {7, 17}, {8, 15}, {8, 17},
                           {9, 24}, {9, 25}, {9, 26}, {10, 3}, {10, 5}, {10, 9}, {12, 25}}},
        HolidayYear{2027,
                    {{1, 1},  {2, 6},  {2, 7},  {2, 8},  {2, 9},  {3, 1},   {5, 1},   {5, 3},
                     {5, 5},  {5, 13}, {6, 6},  {7, 17}, {7, 19}, {8, 15},  {8, 16},  {9, 14},
                     {9, 15}, {9, 16}, {10, 3}, {10, 4}, {10, 9}, {10, 11}, {12, 25}, {12, 27}}},
        // 설날 on 27 January (China: 26th); 추석 block 2-4 October holds 개천절.
        HolidayYear{2028,
                    {{1, 1},
                     {1, 26},
                     {1, 27},
                     {1, 28},
                     {3, 1},
                     {5, 1},
                     {5, 2},
                     {5, 5},
                     {6, 6},
                     {7, 17},
                     {8, 15},
                     {10, 2},
                     {10, 3},
                     {10, 4},
                     {10, 5},
                     {10, 9},
                     {12, 25}}},
        HolidayYear{2030,
                    {{1, 1},
                     {2, 2},
                     {2, 3},
                     {2, 4},
                     {2, 5},
                     {3, 1},
                     {5, 1},
                     {5, 5},
                     {5, 6},
                     {5, 9},
                     {6, 6},
                     {7, 17},
                     {8, 15},
                     {9, 11},
                     {9, 12},
                     {9, 13},
                     {10, 3},
                     {10, 9},
                     {12, 25}}},
        // 추석 on 21 September (China: 20th).
        HolidayYear{2040,
                    {{1, 1},
                     {2, 11},
                     {2, 12},
                     {2, 13},
                     {2, 14},
                     {3, 1},
                     {5, 1},
                     {5, 5},
                     {5, 7},
                     {5, 18},
                     {6, 6},
                     {7, 17},
                     {8, 15},
                     {9, 20},
                     {9, 21},
                     {9, 22},
                     {10, 3},
                     {10, 9},
                     {12, 25}}}));

TEST(HolidayNames, nameEveryDayIncludingSharedAndSubstituteDays)
{
    const QList<Holidays::Named> list = Holidays::named(2025);
    const auto nameOn = [&](int m, int d) {
        for (const Holidays::Named& h : list)
            if (h.date == QDate(2025, m, d))
                return h.name;
        return QString();
    };
    EXPECT_EQ(nameOn(1, 1), QStringLiteral("신정"));
    EXPECT_EQ(nameOn(1, 29), QStringLiteral("설날"));
    EXPECT_EQ(nameOn(3, 3), QStringLiteral("대체공휴일"));
    EXPECT_TRUE(nameOn(5, 5).contains(QStringLiteral("어린이날")));
    EXPECT_TRUE(nameOn(5, 5).contains(QStringLiteral("부처님 오신 날")));
    EXPECT_EQ(nameOn(10, 6), QStringLiteral("추석"));
    EXPECT_TRUE(std::is_sorted(list.cbegin(), list.cend(),
                               [](const auto& a, const auto& b) { return a.date < b.date; }));
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
