// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Testing.h"

#include "analytics/Environment.h"
#include "analytics/Lifecycle.h"
#include "analytics/Worker.h"

#include <QTimer>

namespace Analytics::Testing {

namespace {

template <typename F> auto onWorker(F f) -> decltype(f(std::declval<detail::Worker*>()))
{
    using Result = decltype(f(std::declval<detail::Worker*>()));
    detail::Worker* w = detail::worker(false);
    if (!w)
        return Result{};
    Result result{};
    QMetaObject::invokeMethod(
        w, [&] { result = f(w); }, Qt::BlockingQueuedConnection);
    return result;
}

} // namespace

void reset()
{
    onWorker([](detail::Worker* w) {
        w->discardAll();
        return true;
    });
    detail::stopWorker();
    detail::deleteFlushTimer();
    detail::resetDemoRun();
    detail::renewSessionId();
    resetConfig();
    detail::refreshEnvironment();
}

bool flushTimerActive()
{
    return detail::g_flushTimer && detail::g_flushTimer->isActive();
}

bool workerStarted()
{
    return detail::worker(false) != nullptr;
}

int bufferedCount()
{
    return onWorker([](detail::Worker* w) { return w->bufferedCount(); });
}

int inFlightCount()
{
    return onWorker([](detail::Worker* w) { return w->inFlightCount(); });
}

} // namespace Analytics::Testing
