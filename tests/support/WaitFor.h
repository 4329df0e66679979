// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

// Runs the application's events until `condition` holds (true) or `ms` milliseconds have passed
// (false). The long default only matters when something is wrong.
inline bool waitFor(const std::function<bool()>& condition, int ms = 10000)
{
    for (QDeadlineTimer deadline(ms); !condition(); QThread::msleep(2)) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
