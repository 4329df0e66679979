// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Analytics.h"
#include "analytics/Config.h"
#include "analytics/Derived.h"
#include "analytics/Environment.h"
#include "analytics/Keys.h"
#include "analytics/Wire.h"

#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/Dinner.h"
#include "engine/Store.h"
#include "slacking/Wollu.h"

#include <QMutex>
#include <QSysInfo>

#include <cmath>
#include <limits>

namespace Analytics {

namespace Derived {

qint64 rounded(double value)
{
    if (std::isnan(value))
        return 0;
    // 2^63 is exactly representable; anything at or beyond it would overflow llround.
    constexpr double limit = 9223372036854775807.0;
    if (value >= limit)
        return std::numeric_limits<qint64>::max();
    if (value <= -limit)
        return std::numeric_limits<qint64>::min();
    return std::llround(value);
}

QString state(const Status& status)
{
    return dayStateName(status.state);
}

qint64 workedMin(const Status& status)
{
    return rounded(status.workedMin);
}

qint64 overtimeMin(const Status& status)
{
    return rounded(status.overtimeMin);
}

qint64 progressPct(const Status& status)
{
    return rounded(status.progress * 100.0);
}

qint64 wolluMin()
{
    return rounded(Wollu::seconds() / 60.0);
}

qint64 minutesPastWorkEnd()
{
    const double minutes = ::minutesPastWorkEnd();
    if (!std::isfinite(minutes))
        return 0;
    return qint64(std::trunc(std::clamp(minutes, -9.0e18, 9.0e18)));
}

qint64 dinnerMin(double now)
{
    return rounded(Dinner::seconds(now) / 60.0);
}

double dailyWorkHours()
{
    return std::round(Cfg::dailyWorkMinutes() / 60.0 * 100.0) / 100.0;
}

qint64 lunchMinutes()
{
    // The stored times may be anything a hand-edited file holds: their difference is taken in
    // double, as for the working day, so it cannot overflow.
    const double minutes = std::max(0.0, static_cast<double>(Cfg::lunchEnd()) -
                                             static_cast<double>(Cfg::lunchStart()));
    return qint64(std::min(minutes, 9.0e18));
}

} // namespace Derived

namespace {

QMutex g_identityMutex;

const QString& sessionIdStorage(bool renew = false)
{
    static QString id = Wire::newUuid();
    if (renew)
        id = Wire::newUuid();
    return id;
}

QString platformName()
{
#if defined(Q_OS_LINUX)
    return QStringLiteral("linux");
#else
    return QSysInfo::productType();
#endif
}

qint64 daysSinceInstallAt(const QDateTime& now);

} // namespace

namespace detail {

QString sessionId()
{
    QMutexLocker lock(&g_identityMutex);
    return sessionIdStorage();
}

void renewSessionId()
{
    QMutexLocker lock(&g_identityMutex);
    sessionIdStorage(true);
}

} // namespace detail

QString distinctID()
{
    Store& store = Store::standard();
    // Held while checking and creating, so two threads tracking the very first events cannot
    // both make an identity.
    QMutexLocker lock(&g_identityMutex);
    const std::optional<QString> stored = store.text(Keys::distinctId);
    if (stored && !stored->isEmpty())
        return *stored;
    const QString id = Wire::newUuid();
    store.set(Keys::distinctId, id);
    return id;
}

QString salaryBucket(qint64 won)
{
    if (won < 1)
        return QStringLiteral("unset");
    if (won < 2'000'000)
        return QStringLiteral("under_200");
    if (won < 2'500'000)
        return QStringLiteral("200_250");
    if (won < 3'000'000)
        return QStringLiteral("250_300");
    if (won < 3'500'000)
        return QStringLiteral("300_350");
    if (won < 4'000'000)
        return QStringLiteral("350_400");
    if (won < 5'000'000)
        return QStringLiteral("400_500");
    if (won < 7'000'000)
        return QStringLiteral("500_700");
    return QStringLiteral("700_plus");
}

namespace {

qint64 daysSinceInstallAt(const QDateTime& now)
{
    const QVariant stored = Store::standard().object(Keys::installedAt);
    if (stored.typeId() != QMetaType::QDateTime)
        return 0;
    const QDateTime installed = stored.toDateTime();
    if (!installed.isValid())
        return 0;
    const QDateTime from = installed.toLocalTime();
    const QDateTime& to = now;
    qint64 days = from.date().daysTo(to.date());
    // Whole days only: the last one counts once its time of day has been reached again.
    if (days > 0 && to.time() < from.time())
        --days;
    // A clock set back before the install date says nothing about how long ago it was.
    return std::max<qint64>(0, days);
}

} // namespace

qint64 daysSinceInstall()
{
    return daysSinceInstallAt(Clock::nowLocal());
}

QString appVersion()
{
    return detail::environment().appVersion;
}

QString appBuild()
{
    return detail::environment().appBuild;
}

QString osVersion()
{
    return detail::environment().osVersion;
}

QJsonObject superProperties()
{
    const detail::Environment env = detail::environment();
    const QString id = distinctID();
    const Store& store = Store::standard();
    const qint64 salary = Cfg::monthlySalaryWon();
    const QDateTime now = Clock::nowLocal();

    QJsonObject p;
    p.insert(QLatin1String("token"), Config::token());
    p.insert(QLatin1String("distinct_id"), id);
    p.insert(QLatin1String("$device_id"), id);
    p.insert(QLatin1String("platform"), platformName());
    p.insert(QLatin1String("surface"), QStringLiteral("app"));
    p.insert(QLatin1String("app_version"), env.appVersion);
    p.insert(QLatin1String("app_build"), env.appBuild);
    p.insert(QLatin1String("$os"), env.osName);
    p.insert(QLatin1String("$os_version"), env.osVersion);
    p.insert(QLatin1String("os_version"), env.osVersion);
    // Asked once: Qt answers through uname() on every call.
    static const QString arch = QSysInfo::currentCpuArchitecture();
    p.insert(QLatin1String("arch"), arch);
    p.insert(QLatin1String("locale"), env.locale);
    p.insert(QLatin1String("timezone"), env.timeZone);
    p.insert(QLatin1String("session_id"), detail::sessionId());
    p.insert(QLatin1String("screen_count"), env.screenCount);
    p.insert(QLatin1String("is_login_item"), env.isLoginItem);
    p.insert(QLatin1String("launch_count"), store.integer(Keys::launchCount));
    p.insert(QLatin1String("days_since_install"), daysSinceInstallAt(now));
    p.insert(QLatin1String("salary_set"), salary >= 1);
    p.insert(QLatin1String("salary_bucket"), salaryBucket(salary));
    p.insert(QLatin1String("salary_pretax"), Cfg::salaryPretax());
    p.insert(QLatin1String("daily_work_hours"), Derived::dailyWorkHours());
    p.insert(QLatin1String("work_start_min"), Cfg::workStart());
    p.insert(QLatin1String("work_end_min"), Cfg::workEnd());
    p.insert(QLatin1String("lunch_minutes"), Derived::lunchMinutes());
    p.insert(QLatin1String("exclude_weekend"), Cfg::excludeWeekend());
    p.insert(QLatin1String("wollu_enabled"), !Wollu::disabled());
    p.insert(QLatin1String("wollu_hidden"), Wollu::hidden());
    p.insert(QLatin1String("distraction_count"), Wollu::apps().size());
    // Qt counts Monday as 1; the reports count Sunday as 1 ... Saturday as 7.
    p.insert(QLatin1String("day_of_week"), now.date().dayOfWeek() % 7 + 1);
    p.insert(QLatin1String("hour_of_day"), now.time().hour());
    return p;
}

QString iso(const QDateTime& date)
{
    const QDateTime utc = date.toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d", d.year(), d.month(), d.day(),
                             t.hour(), t.minute(), t.second());
}

} // namespace Analytics
