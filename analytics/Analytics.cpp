// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Analytics.h"

#include "analytics/Config.h"
#include "analytics/Environment.h"
#include "analytics/Keys.h"
#include "analytics/Lifecycle.h"
#include "analytics/Wire.h"
#include "analytics/Worker.h"

#include "engine/Clock.h"
#include "engine/Store.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QMutex>
#include <QSemaphore>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

namespace Analytics {

namespace detail {

namespace {

constexpr int quitWaitMs = 1500;

struct WorkerThread
{
    QThread thread;
    Worker* worker = nullptr;
};

QMutex g_workerMutex;
std::atomic<WorkerThread*> g_worker{nullptr};

void stopWorkerThread()
{
    WorkerThread* running = nullptr;
    {
        QMutexLocker lock(&g_workerMutex);
        running = g_worker.exchange(nullptr);
    }
    if (!running)
        return;
    Worker* w = running->worker;
    QMetaObject::invokeMethod(
        w,
        [w] {
            w->stop();
            delete w;
        },
        Qt::BlockingQueuedConnection);
    running->thread.quit();
    running->thread.wait();
    delete running;
}

} // namespace

Worker* worker(bool create)
{
    if (WorkerThread* running = g_worker.load(std::memory_order_acquire))
        return running->worker;
    if (!create)
        return nullptr;
    QMutexLocker lock(&g_workerMutex);
    if (WorkerThread* running = g_worker.load())
        return running->worker;
    auto* running = new WorkerThread;
    running->thread.setObjectName(QStringLiteral("tockwork.analytics"));
    running->worker = new Worker;
    running->worker->moveToThread(&running->thread);
    running->thread.start();
    g_worker.store(running, std::memory_order_release);
    // The worker must finish (and keep its unanswered batches) while Qt is still alive.
    if (QCoreApplication::instance())
        qAddPostRoutine(stopWorkerThread);
    return running->worker;
}

// Main-thread state of the flush timer.
QTimer* g_flushTimer = nullptr;
std::atomic<bool> g_flushTimerRequested{false};
std::atomic<bool> g_demoRun{false};

void deleteFlushTimer()
{
    delete g_flushTimer;
    g_flushTimer = nullptr;
    g_flushTimerRequested = false;
}

void resetDemoRun()
{
    g_demoRun = false;
}

void stopWorker()
{
    stopWorkerThread();
}

} // namespace detail

using detail::Endpoint;
using detail::Worker;

bool enabled()
{
    if (!Config::enabled())
        return false;
    if (optOut())
        return false;
    return !detail::g_demoRun.load();
}

bool optOut()
{
    return Store::standard().boolean(Keys::optOut);
}

void setOptOut(bool value)
{
    Store& store = Store::standard();
    if (value && !store.boolean(Keys::optOut)) {
        // Still enabled at this moment, so the user's last event is the opt-out itself.
        track(Event::analyticsOptOutChanged, {{QStringLiteral("opted_out"), true}});
        flush();
    }
    store.set(Keys::optOut, value);
    store.flush();
    if (!value)
        track(Event::analyticsOptOutChanged, {{QStringLiteral("opted_out"), false}});
}

void setDemoRun()
{
    detail::g_demoRun = true;
}

bool demoRun()
{
    return detail::g_demoRun.load();
}

void track(const QString& event, const QVariantMap& properties)
{
    if (!enabled())
        return;
    QJsonObject props = superProperties();
    for (auto it = properties.begin(); it != properties.end(); ++it)
        props.insert(it.key(), QJsonValue::fromVariant(it.value()));
    // Whole milliseconds, the fraction dropped toward zero.
    props.insert(QLatin1String("time"), qint64(Clock::now() * 1000.0));
    props.insert(QLatin1String("$insert_id"), Wire::newUuid());
    const QJsonObject record{{QLatin1String("event"), event}, {QLatin1String("properties"), props}};

    Worker* w = detail::worker();
    QMetaObject::invokeMethod(
        w, [w, record] { w->append(record); }, Qt::QueuedConnection);
    scheduleFlush();
}

void scheduleFlush()
{
    if (detail::g_flushTimerRequested.exchange(true))
        return;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        detail::g_flushTimerRequested = false;
        return;
    }
    QMetaObject::invokeMethod(
        app,
        [] {
            if (detail::g_flushTimer || !detail::g_flushTimerRequested)
                return;
            auto* timer = new QTimer(QCoreApplication::instance());
            QObject::connect(timer, &QTimer::timeout, [] {
                detail::refreshEnvironment();
                flush();
            });
            timer->start(Config::flushPeriodMs());
            detail::g_flushTimer = timer;
        },
        Qt::QueuedConnection);
}

void flush()
{
    Worker* w = detail::worker(false);
    if (!w)
        return;
    QMetaObject::invokeMethod(
        w, [w] { w->flushBuffer(); }, Qt::QueuedConnection);
}

void flushSync()
{
    // Nothing was ever queued in this process (disabled all along, or nothing tracked yet).
    // After an opt-out the worker still exists and what it holds is waited for: the opt-out
    // event itself should not be lost at quit.
    Worker* w = detail::worker(false);
    if (!w)
        return;
    const QDeadlineTimer deadline(detail::quitWaitMs);
    auto done = std::make_shared<QSemaphore>(0);
    QMetaObject::invokeMethod(
        w, [w, done, deadline] { w->flushAndWait(done, deadline); }, Qt::QueuedConnection);
    done->tryAcquire(1, int(std::max<qint64>(0, deadline.remainingTime())));
}

namespace {

void profileOperation(const QString& operation, const QJsonObject& values)
{
    if (!enabled())
        return;
    const QJsonObject record{{QLatin1String("$token"), Config::token()},
                             {QLatin1String("$distinct_id"), distinctID()},
                             {operation, values}};
    Worker* w = detail::worker();
    QMetaObject::invokeMethod(
        w, [w, record] { w->post(Endpoint::engage, QJsonArray{record}); }, Qt::QueuedConnection);
}

} // namespace

void peopleSet(const QVariantMap& values)
{
    profileOperation(QStringLiteral("$set"), QJsonObject::fromVariantMap(values));
}

void peopleSetOnce(const QVariantMap& values)
{
    profileOperation(QStringLiteral("$set_once"), QJsonObject::fromVariantMap(values));
}

void peopleIncrement(const QMap<QString, qint64>& values)
{
    QJsonObject counters;
    for (auto it = values.begin(); it != values.end(); ++it)
        counters.insert(it.key(), it.value());
    profileOperation(QStringLiteral("$add"), counters);
}

void shutdown()
{
    detail::stopWorker();
}

} // namespace Analytics
