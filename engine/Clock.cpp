#include "Clock.h"

#include <QMutex>
#include <QTimeZone>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>

namespace {

QMutex g_mutex;
std::optional<double> g_frozenAt;

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
    // Milliseconds keep the sub-second part without QDateTime's range limits being reached by
    // any instant a person can mean; non-finite input has no calendar day, so it maps to 1970.
    const double ms = std::isfinite(epochSeconds) ? std::floor(epochSeconds * 1000.0) : 0.0;
    constexpr double limit = 8.64e15; // 273,790 years either side of 1970
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::clamp(ms, -limit, limit)),
                                          Qt::LocalTime);
}

double toEpoch(const QDateTime& dateTime)
{
    return static_cast<double>(dateTime.toMSecsSinceEpoch()) / 1000.0;
}

double localMidnight(const QDate& date)
{
    QDateTime midnight(date, QTime(0, 0), Qt::LocalTime);
    // Where a daylight-saving change skips 00:00 (e.g. America/Santiago, Asia/Beirut) the day
    // begins at the first instant that exists; startOfDay() finds it from the zone's transitions.
    if (!midnight.isValid() || midnight.date() != date || midnight.time() != QTime(0, 0))
        midnight = date.startOfDay(Qt::LocalTime);
    return toEpoch(midnight);
}

} // namespace Clock
