// SPDX-License-Identifier: GPL-3.0-or-later
// The holiday calendar: the official list of past and announced years, the substitute rules by the
// year each began, and the elections to come.

#include "engine/Holidays.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <utility>

namespace {

constexpr int kFirstOfficialYear = 2018;
constexpr int kLastOfficialYear = 2027;

// The official list as the almanac publishes it, one module a year in @hyunbinseo/holidays-kr,
// fetched into the build tree (tests/engine/FetchOfficialHolidays.cmake); each day reads
// `"2026-06-03": ["전국동시지방선거"],`. Empty when the build could not fetch it.
QMap<QDate, QString> officialList()
{
    QMap<QDate, QString> days;
    const QDir dir(QStringLiteral(OFFICIAL_HOLIDAYS_DIR));
    const QRegularExpression day(QStringLiteral(R"re("(\d{4}-\d\d-\d\d)":\s*\[([^\]]*)\])re"));
    for (const QString& name : dir.entryList({QStringLiteral("*.js")}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : day.globalMatch(text))
            days.insert(QDate::fromString(m.captured(1), Qt::ISODate), m.captured(2));
    }
    return days;
}

QMap<QDate, QString> ourList(int firstYear, int lastYear)
{
    QMap<QDate, QString> days;
    for (int year = firstYear; year <= lastYear; ++year) {
        for (const Holidays::Named& h : Holidays::named(year))
            days.insert(h.date, h.name);
    }
    return days;
}

// Every day of 2018 to 2027 both ways: each official holiday is ours, and each of ours is official.
// 노동절 (1 May) is in both from 2026, with its substitute day 3 May 2027: the law of 2025 made
// it a public holiday; before, as 근로자의 날, it was a day off by labour law only and neither
// list has it.
TEST(Holidays, matchTheOfficialListBothWaysFrom2018To2027)
{
    const QMap<QDate, QString> official = officialList();
    if (official.isEmpty())
        GTEST_SKIP() << "The official list (npm package @hyunbinseo/holidays-kr) was not fetched "
                        "at build time, e.g. offline; rebuild with the npm registry reachable.";
    for (int year = kFirstOfficialYear; year <= kLastOfficialYear; ++year)
        ASSERT_TRUE(official.contains(QDate(year, 1, 1))) << "the official list lacks " << year;
    ASSERT_TRUE(official.value(QDate(2026, 5, 1)).contains(QStringLiteral("노동절")));

    const QMap<QDate, QString> ours = ourList(kFirstOfficialYear, kLastOfficialYear);
    QStringList missing, extra;
    for (auto it = official.cbegin(); it != official.cend(); ++it) {
        if (it.key().year() >= kFirstOfficialYear && it.key().year() <= kLastOfficialYear &&
            !(ours.contains(it.key()) && Holidays::isHoliday(it.key())))
            missing << it.key().toString(Qt::ISODate) + u' ' + it.value();
    }
    for (auto it = ours.cbegin(); it != ours.cend(); ++it) {
        if (!official.contains(it.key()))
            extra << it.key().toString(Qt::ISODate) + u' ' + it.value();
    }
    EXPECT_TRUE(missing.isEmpty())
        << "official holidays we do not list: " << missing.join(u", ").toStdString();
    EXPECT_TRUE(extra.isEmpty()) << "days we list that were working days: "
                                 << extra.join(u", ").toStdString();
}

// The rules as they stood each year, checked without the official list.
TEST(Holidays, substituteDaysOnlyFromTheYearTheirRuleBegan)
{
    // Substitutes that today's rules would give but that were working days then.
    for (const QDate& day : {QDate(2019, 5, 13),  // 부처님 오신 날 on a Sunday, before 2023
                             QDate(2020, 3, 2),   // 3·1절 on a Sunday, before August 2021
                             QDate(2020, 10, 5),  // 개천절 on a Saturday
                             QDate(2021, 3, 2),   // 3·1절 2021 was a Monday: nothing to move
                             QDate(2021, 12, 27), // 기독탄신일 on a Saturday, before 2023
                             QDate(2022, 5, 9),   // 부처님 오신 날 on a Sunday
                             QDate(2022, 12, 26), // 기독탄신일 on a Sunday
                             QDate(2013, 2, 12),  // 설날 block with a Sunday, before 2014
                             QDate(2009, 10, 5)}) // 개천절 inside the 추석 block, before 2014
        EXPECT_FALSE(Holidays::isHoliday(day)) << qPrintable(day.toString(Qt::ISODate));

    // The first substitutes of each rule.
    for (const QDate& day : {QDate(2014, 9, 10),  // 추석 block with a Sunday
                             QDate(2017, 10, 6),  // 개천절 inside the 추석 block
                             QDate(2019, 5, 6),   // 어린이날 on a Sunday
                             QDate(2021, 8, 16),  // 광복절 on a Sunday: the first of its rule
                             QDate(2022, 10, 10), // 한글날 on a Sunday
                             QDate(2023, 5, 29),  // 부처님 오신 날 on a Saturday
                             QDate(2027, 5, 3),   // 노동절 on a Saturday
                             QDate(2027, 12, 27)}) {
        EXPECT_TRUE(Holidays::isHoliday(day)) << qPrintable(day.toString(Qt::ISODate));
        EXPECT_EQ(ourList(day.year(), day.year()).value(day), QStringLiteral("대체공휴일"));
    }
}

// Whole years with their names, for the rules that meet: collisions, blocks, declared days and
// polls moved by a holiday.
TEST(Holidays, yearsListEveryDayInOrderWithNames)
{
    const std::pair<int, const char*> years[] = {
        // 5 May is both 어린이날 and 부처님 오신 날: 6 May is the substitute.
        {2025, "1/1 1/27 1/28 1/29 1/30 3/1 3/3 5/5 5/6 6/3 6/6 8/15 10/3 10/5 10/6 10/7 10/8 "
               "10/9 12/25"},
        // The 추석 block of 2-4 October holds 개천절: one substitute, 5 October.
        {2028, "1/1 1/26 1/27 1/28 3/1 4/12 5/1 5/2 5/5 6/6 7/17 8/15 10/2 10/3 10/4 10/5 10/9 "
               "12/25"},
        {2030, "1/1 2/2 2/3 2/4 2/5 3/1 3/27 5/1 5/5 5/6 5/9 6/6 6/12 7/17 8/15 9/11 9/12 9/13 "
               "10/3 10/9 12/25"},
        {2040, "1/1 2/11 2/12 2/13 2/14 3/1 3/28 4/11 5/1 5/5 5/7 5/18 6/6 7/17 8/15 9/20 9/21 "
               "9/22 10/3 10/9 12/25"}};
    for (const auto& [year, days] : years) {
        QStringList listed;
        for (const Holidays::Named& h : Holidays::named(year)) {
            listed << QStringLiteral("%1/%2").arg(h.date.month()).arg(h.date.day());
            EXPECT_TRUE(Holidays::isHoliday(h.date)) << qPrintable(h.date.toString());
        }
        EXPECT_EQ(listed.join(u' ').toStdString(), days);
        EXPECT_EQ(Holidays::compute(year).size(), listed.size()) << year;
    }

    const QMap<QDate, QString> names = ourList(2020, 2026);
    for (const auto& [date, name] : {std::pair{QDate(2025, 3, 3), "대체공휴일"},
                                     {QDate(2025, 5, 5), "어린이날, 부처님 오신 날"},
                                     {QDate(2020, 4, 15), "국회의원선거일"},
                                     {QDate(2020, 8, 17), "임시공휴일"},
                                     {QDate(2022, 3, 9), "대통령선거일"},
                                     {QDate(2024, 10, 1), "임시공휴일"},
                                     {QDate(2025, 6, 3), "대통령선거일"},
                                     {QDate(2026, 6, 3), "전국동시지방선거일"}})
        EXPECT_EQ(names.value(date).toStdString(), name) << qPrintable(date.toString());

    // 제헌절 and 노동절 before 2026; 현충일 on a Saturday has no substitute.
    for (const QDate& day : {QDate(2025, 7, 17), QDate(2025, 5, 1), QDate(2026, 6, 8), QDate()})
        EXPECT_FALSE(Holidays::isHoliday(day)) << qPrintable(day.toString());
    EXPECT_TRUE(Holidays::isHoliday(QDate(1997, 2, 8))); // Korea's 설날 1997, China's was the 7th
}

// The polling-day rule reproduces every regular election since polls moved to Wednesdays; the
// moved ones are the test: 2018's first Wednesday was 현충일, 2022's followed 3·1절.
TEST(Holidays, pollingDayRuleReproducesTheRegularElectionsHeld)
{
    struct Poll
    {
        QDate termEnd;
        int daysBefore;
        QDate held;
    };
    for (const Poll& p : {Poll{QDate(2006, 6, 30), 30, QDate(2006, 5, 31)},
                          Poll{QDate(2008, 2, 24), 70, QDate(2007, 12, 19)},
                          Poll{QDate(2008, 5, 29), 50, QDate(2008, 4, 9)},
                          Poll{QDate(2010, 6, 30), 30, QDate(2010, 6, 2)},
                          Poll{QDate(2012, 5, 29), 50, QDate(2012, 4, 11)},
                          Poll{QDate(2013, 2, 24), 70, QDate(2012, 12, 19)},
                          Poll{QDate(2014, 6, 30), 30, QDate(2014, 6, 4)},
                          Poll{QDate(2016, 5, 29), 50, QDate(2016, 4, 13)},
                          Poll{QDate(2018, 6, 30), 30, QDate(2018, 6, 13)},
                          Poll{QDate(2020, 5, 29), 50, QDate(2020, 4, 15)},
                          Poll{QDate(2022, 5, 9), 70, QDate(2022, 3, 9)},
                          Poll{QDate(2022, 6, 30), 30, QDate(2022, 6, 1)},
                          Poll{QDate(2024, 5, 29), 50, QDate(2024, 4, 10)},
                          Poll{QDate(2026, 6, 30), 30, QDate(2026, 6, 3)}}) {
        EXPECT_EQ(Holidays::internal::electionDay(p.termEnd, p.daysBefore), p.held)
            << qPrintable(p.termEnd.toString(Qt::ISODate));
    }
    EXPECT_FALSE(Holidays::internal::electionDay(QDate(), 30).isValid());
}

// The regular elections of 2028 to 2040, worked out by hand from the rule: 2030's local poll
// would be 5 June, the day before 현충일, so it moves to 12 June.
TEST(Holidays, electionsToComeAreHolidaysByTheRule)
{
    QStringList polls;
    for (int year = 2027; year <= 2041; ++year) {
        for (const Holidays::Named& h : Holidays::named(year)) {
            if (!h.name.endsWith(QStringLiteral("선거일")))
                continue;
            polls << h.date.toString(Qt::ISODate) + u' ' + h.name;
            EXPECT_TRUE(Holidays::isHoliday(h.date));
            EXPECT_EQ(h.date.dayOfWeek(), Qt::Wednesday);
        }
    }
    const char* expected = "2028-04-12 국회의원선거일\n"
                           "2030-03-27 대통령선거일\n"
                           "2030-06-12 전국동시지방선거일\n"
                           "2032-04-14 국회의원선거일\n"
                           "2034-05-31 전국동시지방선거일\n"
                           "2035-03-28 대통령선거일\n"
                           "2036-04-09 국회의원선거일\n"
                           "2038-06-02 전국동시지방선거일\n"
                           "2040-03-28 대통령선거일\n"
                           "2040-04-11 국회의원선거일";
    EXPECT_EQ(polls.join(u'\n').toStdString(), expected);
}

} // namespace
