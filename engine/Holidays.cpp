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

struct FixedRow
{
    int month;
    int day;
    bool substitute; // a weekend or collision moves the holiday to the next free weekday
    const char16_t* name;
    int firstYear;
};

// Order matters: substitute days are handed out in this order.
constexpr FixedRow kFixedRows[] = {
    {1, 1, false, u"신정", 0},     {3, 1, true, u"삼일절", 0},       {5, 5, true, u"어린이날", 0},
    {6, 6, false, u"현충일", 0},   {8, 15, true, u"광복절", 0},      {10, 3, true, u"개천절", 0},
    {10, 9, true, u"한글날", 0},   {12, 25, true, u"기독탄신일", 0}, {7, 17, true, u"제헌절", 2026},
    {5, 1, true, u"노동절", 2026},
};

constexpr char16_t kSeollal[] = u"설날";
constexpr char16_t kBuddha[] = u"부처님 오신 날";
constexpr char16_t kChuseok[] = u"추석";
constexpr char16_t kSubstitute[] = u"대체공휴일";

bool isSaturday(const QDate& d)
{
    return d.dayOfWeek() == Qt::Saturday;
}

bool isSunday(const QDate& d)
{
    return d.dayOfWeek() == Qt::Sunday;
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

YearBuilder build(int year)
{
    YearBuilder y;
    for (const FixedRow& row : kFixedRows) {
        if (year < row.firstYear)
            continue;
        const QDate date(year, row.month, row.day);
        const bool collided = y.add(date, row.name);
        if (row.substitute && (collided || isSaturday(date) || isSunday(date)))
            y.substituteOrigins.append(date);
    }

    const LunarDays lunar = findLunarDays(year);
    if (lunar.spring.isValid()) {
        const bool collided = y.add(lunar.spring, kBuddha);
        if (collided || isSaturday(lunar.spring) || isSunday(lunar.spring))
            y.substituteOrigins.append(lunar.spring);
    }
    // The three-day blocks get a substitute for a Sunday or a collision, not for a Saturday.
    for (const QDate& centre : {lunar.newYear, lunar.autumn}) {
        if (!centre.isValid())
            continue;
        const char16_t* name = centre == lunar.newYear ? kSeollal : kChuseok;
        bool needs = false;
        for (int offset = -1; offset <= 1; ++offset) {
            const QDate day = centre.addDays(offset);
            if (day.year() != year)
                continue;
            const bool collided = y.add(day, name);
            needs = needs || collided || isSunday(day);
        }
        if (needs)
            y.substituteOrigins.append(centre.addDays(1));
    }

    for (const QDate& origin : std::as_const(y.substituteOrigins)) {
        for (QDate d = origin.addDays(1); d.year() == year; d = d.addDays(1)) {
            if (y.days.contains(d.dayOfYear()) || isSaturday(d) || isSunday(d))
                continue;
            y.add(d, kSubstitute);
            break;
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
    return build(year).days;
}

QList<Named> named(int year)
{
    const YearBuilder y = build(year);
    QList<Named> list;
    list.reserve(y.names.size());
    const QDate first(year, 1, 1);
    for (auto it = y.names.cbegin(); it != y.names.cend(); ++it)
        list.append({first.addDays(it.key() - 1), it.value().join(QStringLiteral(", "))});
    return list;
}

namespace internal {

void clearCache()
{
    QMutexLocker lock(&g_cacheMutex);
    g_cache.clear();
}

} // namespace internal

} // namespace Holidays
