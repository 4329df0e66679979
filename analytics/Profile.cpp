// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Analytics.h"
#include "analytics/Derived.h"
#include "analytics/Environment.h"
#include "analytics/Keys.h"
#include "analytics/QueueFile.h"
#include "analytics/Worker.h"

#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/DayKey.h"
#include "engine/Eod.h"
#include "engine/Store.h"
#include "slacking/Wollu.h"

#include <QJsonDocument>

#include <cmath>
#include <limits>

namespace Analytics {

namespace {

QDateTime nowUtc()
{
    return QDateTime::fromMSecsSinceEpoch(qint64(std::floor(Clock::now() * 1000.0)), Qt::UTC);
}

// The snapshot is a map in the store; a JSON object text is read as well, so a store that
// keeps maps as text loses nothing.
QVariantMap storedSnapshot()
{
    const QVariant stored = Store::standard().object(Keys::snapshot);
    if (stored.typeId() == QMetaType::QVariantMap)
        return stored.toMap();
    if (stored.typeId() == QMetaType::QVariantHash) {
        QVariantMap map;
        const QVariantHash hash = stored.toHash();
        for (auto it = hash.begin(); it != hash.end(); ++it)
            map.insert(it.key(), it.value());
        return map;
    }
    if (stored.typeId() == QMetaType::QString) {
        const QJsonDocument doc = QJsonDocument::fromJson(stored.toString().toUtf8());
        if (doc.isObject())
            return doc.object().toVariantMap();
    }
    return {};
}

// Whole numbers only; anything else counts as 0 for the summary's derived figures. A whole
// double is accepted because a store that went through JSON gives numbers as doubles.
qint64 wholeNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::Long:
        return value.toLongLong();
    case QMetaType::ULongLong:
    case QMetaType::ULong: {
        const qulonglong v = value.toULongLong();
        return v > qulonglong(std::numeric_limits<qint64>::max()) ? 0 : qint64(v);
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double v = value.toDouble();
        if (std::isfinite(v) && std::trunc(v) == v && std::fabs(v) < 9.0e15)
            return qint64(v);
        return 0;
    }
    default:
        return 0;
    }
}

bool holdsDate(const QVariant& value)
{
    return value.typeId() == QMetaType::QDateTime && value.toDateTime().isValid();
}

} // namespace

void start()
{
    if (!enabled())
        return;
    detail::refreshEnvironment();
    detail::Worker* worker = detail::worker();
    QMetaObject::invokeMethod(
        worker, [worker] { worker->drainPersisted(); }, Qt::QueuedConnection);

    Store& store = Store::standard();
    const bool firstLaunch = !store.contains(Keys::installedAt);
    // The install date is kept, not moved to every launch: "days_since_install" counts from it.
    // Only a value that is not a date is replaced.
    if (firstLaunch || !holdsDate(store.object(Keys::installedAt)))
        store.set(Keys::installedAt, nowUtc());
    store.set(Keys::launchCount, store.integer(Keys::launchCount) + 1);
    distinctID();
    store.flush();

    if (firstLaunch) {
        track(Event::appInstalled, {{QStringLiteral("macos_version"), osVersion()}});
        peopleSetOnce({{QStringLiteral("first_seen_at"), iso(nowUtc())},
                       {QStringLiteral("install_version"), appVersion()},
                       {QStringLiteral("install_os_version"), osVersion()}});
    }
    flushPreviousDay();
    track(Event::appLaunched, {{QStringLiteral("is_first_launch"), firstLaunch}});
    peopleSet(peopleSnapshot());
    peopleIncrement({{QStringLiteral("total_launches"), 1}});
    scheduleFlush();
}

QVariantMap peopleSnapshot()
{
    const detail::Environment env = detail::environment();
    const qint64 salary = Cfg::monthlySalaryWon();
    return {
        {QStringLiteral("last_seen_at"), iso(nowUtc())},
        {QStringLiteral("app_version"), env.appVersion},
        {QStringLiteral("macos_version"), env.osVersion},
        {QStringLiteral("locale"), env.locale},
        {QStringLiteral("timezone"), env.timeZone},
        {QStringLiteral("salary_set"), salary > 0},
        {QStringLiteral("salary_bucket"), salaryBucket(salary)},
        {QStringLiteral("salary_pretax"), Cfg::salaryPretax()},
        {QStringLiteral("work_start_min"), Cfg::workStart()},
        {QStringLiteral("work_end_min"), Cfg::workEnd()},
        {QStringLiteral("daily_work_hours"), Derived::dailyWorkHours()},
        {QStringLiteral("lunch_minutes"), Derived::lunchMinutes()},
        {QStringLiteral("exclude_weekend"), Cfg::excludeWeekend()},
        {QStringLiteral("wollu_enabled"), !Wollu::disabled()},
        {QStringLiteral("distraction_count"), qint64(Wollu::apps().size())},
        {QStringLiteral("is_login_item"), env.isLoginItem},
        {QStringLiteral("days_since_install"), daysSinceInstall()},
    };
}

void updateDailySnapshot(const Status& status)
{
    if (!enabled())
        return;
    Store& store = Store::standard();
    const QString day = today();
    const std::optional<QString> storedDay = store.text(Keys::snapshotDay);
    if (storedDay && !storedDay->isEmpty() && *storedDay != day)
        flushPreviousDay();
    store.set(Keys::snapshotDay, day);

    QVariantMap snapshot = storedSnapshot();
    snapshot.insert(QStringLiteral("worked_min"), Derived::workedMin(status));
    snapshot.insert(QStringLiteral("overtime_min"), Derived::overtimeMin(status));
    snapshot.insert(QStringLiteral("progress_pct"), Derived::progressPct(status));
    snapshot.insert(QStringLiteral("wollu_min"), Derived::wolluMin());
    snapshot.insert(QStringLiteral("dinner_min"), Derived::dinnerMin(Clock::now()));
    snapshot.insert(QStringLiteral("state"), Derived::state(status));
    snapshot.insert(QStringLiteral("eod_choice"), !Eod::chosenToday() ? QStringLiteral("none")
                                                  : Eod::leftToday()  ? QStringLiteral("left")
                                                                      : QStringLiteral("overtime"));
    snapshot.insert(QStringLiteral("is_holiday"), status.state == DayState::off);
    snapshot.insert(QStringLiteral("salary_bucket"), salaryBucket(Cfg::monthlySalaryWon()));
    snapshot.insert(QStringLiteral("daily_work_hours"), Derived::dailyWorkHours());
    snapshot.insert(QStringLiteral("wollu_enabled"), !Wollu::disabled());
    store.set(Keys::snapshot, snapshot);
    store.flush();
}

void flushPreviousDay()
{
    if (!enabled())
        return;
    Store& store = Store::standard();
    const std::optional<QString> storedDay = store.text(Keys::snapshotDay);
    const QString day = today();
    if (!storedDay || storedDay->isEmpty() || *storedDay == day)
        return;
    QVariantMap summary = storedSnapshot();
    if (summary.isEmpty())
        return;

    summary.insert(QStringLiteral("date"), *storedDay);
    const qint64 worked = wholeNumber(summary.value(QStringLiteral("worked_min")));
    const qint64 wollu = wholeNumber(summary.value(QStringLiteral("wollu_min")));
    summary.insert(QStringLiteral("wollu_ratio_pct"),
                   worked < 1 ? 0 : Derived::rounded(double(wollu) / double(worked) * 100.0));
    summary.insert(QStringLiteral("worked_hours"),
                   std::round(double(worked) / 60.0 * 100.0) / 100.0);
    summary.insert(QStringLiteral("did_overtime"),
                   wholeNumber(summary.value(QStringLiteral("overtime_min"))) > 0);
    summary.insert(QStringLiteral("completed_goal"),
                   wholeNumber(summary.value(QStringLiteral("progress_pct"))) > 99);
    track(Event::dailySummary, summary);
    peopleIncrement({{QStringLiteral("total_days_tracked"), 1}});

    store.remove(Keys::snapshot);
    store.set(Keys::snapshotDay, day);
    store.flush();
    flush();
}

} // namespace Analytics
