// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Clock.h"

#include <QMutex>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>
#include <optional>

namespace {

QMutex g_mutex;
std::optional<double> g_frozenAt;

constexpr qint64 kUnixEpochJulianDay = 2440588;

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// glibc's tzset() re-reads the zone (a file read when TZ is unset) and costs microseconds; Qt's
// local-time conversions call it every time. localtime_r() alone does not, so the zone is
// re-read here at most once a minute: a changed system zone is picked up within a minute, and a
// program that changes TZ itself calls tzset() as POSIX asks.
void refreshZone()
{
    using namespace std::chrono;
    static std::atomic<qint64> lastRefresh{std::numeric_limits<qint64>::min()};
    const qint64 nowMs =
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    const qint64 last = lastRefresh.load(std::memory_order_relaxed);
    if (last != std::numeric_limits<qint64>::min() && nowMs - last < 60'000)
        return;
    lastRefresh.store(nowMs, std::memory_order_relaxed);
    tzset();
}

bool localParts(qint64 epochSeconds, std::tm& out)
{
    refreshZone();
    const auto t = static_cast<std::time_t>(epochSeconds);
    return localtime_r(&t, &out) != nullptr;
}

bool isMidnightOf(const std::tm& tm, const QDate& date)
{
    return tm.tm_hour == 0 && tm.tm_min == 0 && tm.tm_sec == 0 &&
           tm.tm_year + 1900 == date.year() && tm.tm_mon + 1 == date.month() &&
           tm.tm_mday == date.day();
}

double systemNow()
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

} // namespace

namespace Clock {

double now()
{
    QMutexLocker lock(&g_mutex);
    return g_frozenAt ? *g_frozenAt : systemNow();
}

QDateTime nowLocal()
{
    return toLocal(now());
}

void freeze(double epochSeconds)
{
    QMutexLocker lock(&g_mutex);
    g_frozenAt = epochSeconds;
}

void advance(double seconds)
{
    QMutexLocker lock(&g_mutex);
    if (g_frozenAt)
        *g_frozenAt += seconds;
}

void unfreeze()
{
    QMutexLocker lock(&g_mutex);
    g_frozenAt.reset();
}

bool frozen()
{
    QMutexLocker lock(&g_mutex);
    return g_frozenAt.has_value();
}

QDateTime toLocal(double epochSeconds)
{
    // Milliseconds keep the fraction; far-off or non-finite input is pinned to a range every
    // calendar function accepts (non-finite input has no day: 1970).
    const double ms = std::isfinite(epochSeconds) ? std::floor(epochSeconds * 1000.0) : 0.0;
    constexpr double limit = 8.64e15; // 273,790 years either side of 1970
    const auto clamped = static_cast<qint64>(std::clamp(ms, -limit, limit));
    const qint64 seconds = floorDiv(clamped, 1000);
    std::tm tm{};
    if (!localParts(seconds, tm))
        return QDateTime::fromMSecsSinceEpoch(clamped, Qt::LocalTime);
    const QDate date(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    const QTime time(tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59),
                     static_cast<int>(clamped - seconds * 1000));
    return QDateTime(date, time, Qt::OffsetFromUTC, static_cast<int>(tm.tm_gmtoff));
}

double toEpoch(const QDateTime& dateTime)
{
    return static_cast<double>(dateTime.toMSecsSinceEpoch()) / 1000.0;
}

double localMidnight(const QDate& date)
{
    if (!date.isValid())
        return 0;
    const qint64 utcMidnight = (date.toJulianDay() - kUnixEpochJulianDay) * 86400;
    // Guess with the offset in force near the day, then correct by the offset the guess lands
    // in: two rounds settle any zone whose midnight exists.
    std::tm tm{};
    qint64 guess = utcMidnight;
    std::optional<qint64> midnight;
    for (int round = 0; round < 3 && !midnight; ++round) {
        if (!localParts(guess, tm))
            break;
        const qint64 next = utcMidnight - tm.tm_gmtoff;
        if (isMidnightOf(tm, date))
            midnight = guess;
        guess = next;
    }
    if (!midnight) {
        // No 00:00 on this day (a daylight-saving jump at midnight, e.g. America/Santiago):
        // the day begins at its first instant, which Qt finds from the zone's transitions.
        return toEpoch(date.startOfDay(Qt::LocalTime));
    }
    // Where clocks fall back across midnight, 00:00 happens twice and the day begins at the first.
    if (localParts(*midnight - 1, tm)) {
        const qint64 earlier = utcMidnight - tm.tm_gmtoff;
        if (earlier < *midnight && localParts(earlier, tm) && isMidnightOf(tm, date))
            midnight = earlier;
    }
    return static_cast<double>(*midnight);
}

} // namespace Clock
