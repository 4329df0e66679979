// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Holidays.h"

#include <QHash>
#include <QMap>
#include <QMutex>

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <memory>

namespace {

// A substitute day is owed only from the day its rule took effect, written yyyymmdd (0: never):
// 설날, 추석 and 어린이날 from 2014; 3·1절, 광복절, 개천절 and 한글날 from 4 August 2021
// (광복절 2021 was the first); 부처님 오신 날 and 기독탄신일 from 4 May 2023. Earlier years keep
// the working days they had.
constexpr int kSubstituteFrom2014 = 2014'01'01;
constexpr int kSubstituteFromAugust2021 = 2021'08'04;
constexpr int kSubstituteFromMay2023 = 2023'05'04;

struct FixedRow
{
    int month;
    int day;
    int substituteFrom; // a weekend or collision moves the holiday to the next free weekday
    const char16_t* name;
    int firstYear;
};

// Order matters: substitute days are handed out in this order.
constexpr FixedRow kFixedRows[] = {
    {1, 1, 0, u"신정", 0},
    {3, 1, kSubstituteFromAugust2021, u"삼일절", 0},
    {5, 5, kSubstituteFrom2014, u"어린이날", 0},
    {6, 6, 0, u"현충일", 0},
    {8, 15, kSubstituteFromAugust2021, u"광복절", 0},
    {10, 3, kSubstituteFromAugust2021, u"개천절", 0},
    {10, 9, kSubstituteFromAugust2021, u"한글날", 0},
    {12, 25, kSubstituteFromMay2023, u"기독탄신일", 0},
    {7, 17, 2026'01'01, u"제헌절", 2026},
    // A public holiday from 2026; as 근로자의 날 it was a day off by labour law only.
    {5, 1, 2026'01'01, u"노동절", 2026},
};

constexpr char16_t kSeollal[] = u"설날";
constexpr char16_t kBuddha[] = u"부처님 오신 날";
constexpr char16_t kChuseok[] = u"추석";
constexpr char16_t kSubstitute[] = u"대체공휴일";
constexpr char16_t kPresidentElection[] = u"대통령선거일";
constexpr char16_t kAssemblyElection[] = u"국회의원선거일";
constexpr char16_t kLocalElection[] = u"전국동시지방선거일";
constexpr char16_t kOneOff[] = u"임시공휴일";

// Days off that no yearly rule gives: the elections held so far and the one-off holidays the
// government declared, as announced. Early elections (2017, 2025) were declared one by one too.
struct DatedRow
{
    int year;
    int month;
    int day;
    bool election;
    const char16_t* name;
};

constexpr DatedRow kDatedRows[] = {
    {2014, 6, 4, true, kLocalElection},     {2015, 8, 14, false, kOneOff},
    {2016, 4, 13, true, kAssemblyElection}, {2016, 5, 6, false, kOneOff},
    {2017, 5, 9, true, kPresidentElection}, {2017, 10, 2, false, kOneOff},
    {2018, 6, 13, true, kLocalElection},    {2020, 4, 15, true, kAssemblyElection},
    {2020, 8, 17, false, kOneOff},          {2022, 3, 9, true, kPresidentElection},
    {2022, 6, 1, true, kLocalElection},     {2023, 10, 2, false, kOneOff},
    {2024, 4, 10, true, kAssemblyElection}, {2024, 10, 1, false, kOneOff}, // 국군의 날
    {2025, 1, 27, false, kOneOff},          {2025, 6, 3, true, kPresidentElection},
    {2026, 6, 3, true, kLocalElection},
};

// The regular elections after the last one in the table, held when a term ends: the National
// Assembly's on 29 May every 4 years, the local councils' on 30 June every 4 years, and the
// president's on 3 June every 5 years (the president elected in 2025 serves until 3 June 2030).
// Polling is on the first Wednesday on or after the given number of days before the term ends.
struct TermRow
{
    int firstYear;
    int everyYears;
    int month;
    int day;
    int daysBefore;
    const char16_t* name;
};

// In the order of their polling days within a year, so that a later one sees an earlier one.
constexpr TermRow kTermRows[] = {
    {2030, 5, 6, 3, 70, kPresidentElection},
    {2028, 4, 5, 29, 50, kAssemblyElection},
    {2030, 4, 6, 30, 30, kLocalElection},
};

bool isSaturday(const QDate& d)
{
    return d.dayOfWeek() == Qt::Saturday;
}

bool isSunday(const QDate& d)
{
    return d.dayOfWeek() == Qt::Sunday;
}

bool owesSubstitute(int substituteFrom, const QDate& d)
{
    return substituteFrom != 0 && d.year() * 10000 + d.month() * 100 + d.day() >= substituteFrom;
}

// One year's holidays while it is being built: the set, and the names for listing them.
struct YearBuilder
{
    QSet<int> days;
    QMap<int, QStringList> names;
    QList<QDate> substituteOrigins;

    // Inserts `date`; returns whether it was a holiday already.
    bool add(const QDate& date, const char16_t* name)
    {
        const int n = date.dayOfYear();
        names[n].append(QString::fromUtf16(name));
        if (days.contains(n))
            return true;
        days.insert(n);
        return false;
    }
};

struct LunarDays
{
    QDate newYear; // 1st day of the 1st month (설날)
    QDate spring;  // 8th day of the 4th month (부처님 오신 날)
    QDate autumn;  // 15th day of the 8th month (추석)
};

QMutex g_calendarMutex;
std::unique_ptr<icu::Calendar> g_lunar;

// Korean public holidays follow the Korean lunisolar calendar (reckoned at 135°E), which
// differs from the Chinese one (120°E) on some new moons, e.g. 부처님 오신 날 2023 and 설날 2028.
LunarDays findLunarDays(int year)
{
    QMutexLocker lock(&g_calendarMutex);
    UErrorCode status = U_ZERO_ERROR;
    if (!g_lunar) {
        // In UTC the instant of noon names the same civil day everywhere; the lunar months
        // themselves are computed by the calendar in Korea's own astronomical zone.
        g_lunar.reset(icu::Calendar::createInstance(icu::TimeZone::createTimeZone("UTC"),
                                                    icu::Locale("ko_KR@calendar=dangi"), status));
        if (U_FAILURE(status) || !g_lunar || qstrcmp(g_lunar->getType(), "dangi") != 0) {
            g_lunar.reset();
            return {};
        }
    }

    LunarDays found;
    const QDate first(year, 1, 1);
    constexpr qint64 kUnixEpochJulianDay = 2440588;
    const double firstNoonMs =
        (static_cast<double>(first.toJulianDay() - kUnixEpochJulianDay) * 86400.0 + 43200.0) *
        1000.0;
    // Walks the year, but steps over the days of a lunar month that cannot be a holiday: about
    // 45 conversions instead of 365, each of which costs ICU an astronomical computation.
    for (int i = 0; i < first.daysInYear();) {
        status = U_ZERO_ERROR;
        g_lunar->setTime(firstNoonMs + i * 86400000.0, status);
        const int month = g_lunar->get(UCAL_MONTH, status) + 1; // ICU counts months from 0
        const int day = g_lunar->get(UCAL_DATE, status);
        const bool leap = g_lunar->get(UCAL_IS_LEAP_MONTH, status) != 0;
        if (U_FAILURE(status)) {
            ++i;
            continue;
        }
        if (!leap && month == 1 && day == 1)
            found.newYear = first.addDays(i);
        else if (!leap && month == 4 && day == 8)
            found.spring = first.addDays(i);
        else if (!leap && month == 8 && day == 15)
            found.autumn = first.addDays(i);

        int target = 0;
        if (!leap && month == 4 && day < 8)
            target = 8;
        else if (!leap && month == 8 && day < 15)
            target = 15;
        // Lunar months have 29 or 30 days: day 29 is the last safe landing before a new month.
        i += target ? target - day : std::max(1, 29 - day);
    }
    return found;
}

enum class Elections
{
    included,
    leftOut,
};

// The polling day for a term ending on `termEnd`, with `holidays` the other holidays of `year`,
// the polling day's year. A poll joined to a holiday into a long break would keep voters away: the
// day moves a week on while it is a holiday (설날 and 추석, the folk holidays meant, are among
// them) or the day before or after it is.
QDate pollingDay(const QDate& termEnd, int daysBefore, int year, const QSet<int>& holidays)
{
    const auto holiday = [&](const QDate& d) {
        return d.year() == year && holidays.contains(d.dayOfYear());
    };
    QDate day = termEnd.addDays(-daysBefore);
    day = day.addDays((Qt::Wednesday - day.dayOfWeek() + 7) % 7);
    while (holiday(day.addDays(-1)) || holiday(day) || holiday(day.addDays(1)))
        day = day.addDays(7);
    return day;
}

YearBuilder build(int year, Elections elections)
{
    YearBuilder y;
    for (const FixedRow& row : kFixedRows) {
        if (year < row.firstYear)
            continue;
        const QDate date(year, row.month, row.day);
        const bool collided = y.add(date, row.name);
        if (owesSubstitute(row.substituteFrom, date) &&
            (collided || isSaturday(date) || isSunday(date)))
            y.substituteOrigins.append(date);
    }

    // A lunar day that lands on another holiday claims the substitute by its own rule. The other
    // holiday's rule never needs asking: 부처님 오신 날 fell on 어린이날 in 2006 and 2025 but in
    // no year between, and 개천절 inside a 추석 block was owed nothing before 추석 was (2014).
    const LunarDays lunar = findLunarDays(year);
    if (lunar.spring.isValid()) {
        const bool owed = owesSubstitute(kSubstituteFromMay2023, lunar.spring);
        const bool collided = y.add(lunar.spring, kBuddha);
        if (owed && (collided || isSaturday(lunar.spring) || isSunday(lunar.spring)))
            y.substituteOrigins.append(lunar.spring);
    }
    // The three-day blocks get a substitute for a Sunday or a collision, not for a Saturday.
    for (const QDate& centre : {lunar.newYear, lunar.autumn}) {
        if (!centre.isValid())
            continue;
        const char16_t* name = centre == lunar.newYear ? kSeollal : kChuseok;
        const bool owed = owesSubstitute(kSubstituteFrom2014, centre);
        bool needs = false;
        for (int offset = -1; offset <= 1; ++offset) {
            const QDate day = centre.addDays(offset);
            if (day.year() != year)
                continue;
            const bool collided = y.add(day, name);
            needs = needs || (owed && (collided || isSunday(day)));
        }
        if (needs)
            y.substituteOrigins.append(centre.addDays(1));
    }

    // Declared days are holidays a substitute steps over, but they are owed none themselves.
    for (const DatedRow& row : kDatedRows) {
        if (row.year == year && (elections == Elections::included || !row.election))
            y.add(QDate(row.year, row.month, row.day), row.name);
    }

    for (const QDate& origin : std::as_const(y.substituteOrigins)) {
        for (QDate d = origin.addDays(1); d.year() == year; d = d.addDays(1)) {
            if (y.days.contains(d.dayOfYear()) || isSaturday(d) || isSunday(d))
                continue;
            y.add(d, kSubstitute);
            break;
        }
    }

    // Last, because a substitute day next to a polling day moves the poll.
    if (elections == Elections::included) {
        for (const TermRow& term : kTermRows) {
            if (year < term.firstYear || (year - term.firstYear) % term.everyYears != 0)
                continue;
            const QDate termEnd(year, term.month, term.day);
            y.add(pollingDay(termEnd, term.daysBefore, year, y.days), term.name);
        }
    }
    return y;
}

QMutex g_cacheMutex;
QHash<int, QSet<int>> g_cache;

} // namespace

namespace Holidays {

bool isHoliday(const QDate& date)
{
    if (!date.isValid())
        return false;
    QMutexLocker lock(&g_cacheMutex);
    auto it = g_cache.constFind(date.year());
    if (it == g_cache.cend())
        it = g_cache.insert(date.year(), compute(date.year()));
    return it->contains(date.dayOfYear());
}

QSet<int> compute(int year)
{
    return build(year, Elections::included).days;
}

QList<Named> named(int year)
{
    const YearBuilder y = build(year, Elections::included);
    QList<Named> list;
    list.reserve(y.names.size());
    const QDate first(year, 1, 1);
    for (auto it = y.names.cbegin(); it != y.names.cend(); ++it)
        list.append({first.addDays(it.key() - 1), it.value().join(QStringLiteral(", "))});
    return list;
}

namespace internal {

QDate electionDay(const QDate& termEnd, int daysBefore)
{
    if (!termEnd.isValid())
        return {};
    const int year = termEnd.addDays(-daysBefore).year();
    return pollingDay(termEnd, daysBefore, year, build(year, Elections::leftOut).days);
}

void clearCache()
{
    QMutexLocker lock(&g_cacheMutex);
    g_cache.clear();
}

} // namespace internal

} // namespace Holidays
