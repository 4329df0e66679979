// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QTimer;

// Process-wide state of the analytics library outside the worker. Internal.
namespace Analytics::detail {

// The repeating flush timer; main thread only.
extern QTimer* g_flushTimer;
void deleteFlushTimer();
void resetDemoRun();
void stopWorker();

} // namespace Analytics::detail
