// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVariantMap>

#include "analytics/Events.h"
#include "analytics/Platform.h"
#include "engine/Status.h"

// Anonymous usage analytics, posted to the Mixpanel HTTP API. Events are collected on the worker
// thread "tockwork.analytics" and leave in batches of 30 or on a 15-second timer; a batch whose
// post fails is kept in "analytics-queue.json" and sent again at the next launch. Every entry
// point does nothing while analytics is disabled (placeholder token, opt-out, demo run).
namespace Analytics {

// --- switches -------------------------------------------------------------------------------
// False with a placeholder token (one beginning "__"), after the user opted out, or in a demo
// or preview run.
bool enabled();
bool optOut();
void setOptOut(bool value);
// Set by the launch code before start() when the process runs a demo or preview; never reset.
void setDemoRun();
bool demoRun();

// --- events ---------------------------------------------------------------------------------
// Queues one event (name from Analytics::Event). Any thread; no I/O on the caller's thread.
void track(const QString& event, const QVariantMap& properties = {});
// Posts the buffer asynchronously. Does not test enabled(): what was queued before an opt-out
// still leaves.
void flush();
// Posts the buffer and waits for every unanswered event post, at most 1.5 seconds. Posts still
// unanswered then are cancelled and kept in the queue file, so quitting loses nothing.
void flushSync();
// Ensures the repeating flush timer exists on the main thread.
void scheduleFlush();

// --- profile ----------------------------------------------------------------------------------
// One profile operation each ("$set", "$set_once", "$add"), posted at once, never persisted.
void peopleSet(const QVariantMap& values);
void peopleSetOnce(const QVariantMap& values);
void peopleIncrement(const QMap<QString, qint64>& values);

// --- run, profile snapshot and daily summary -----------------------------------------------
// The start of an enabled run: re-sends the queue file, counts the launch, sends the install
// and launch events and the profile.
void start();
QVariantMap peopleSnapshot();
// Rewrites today's snapshot; on the first call of a later day sends the earlier day's summary.
void updateDailySnapshot(const Status& status);
void flushPreviousDay();

// --- identity and super properties ----------------------------------------------------------
QString distinctID();
QJsonObject superProperties();
QString salaryBucket(qint64 won);
qint64 daysSinceInstall();
QString appVersion();
QString appBuild();
QString osVersion();
// "yyyy-MM-ddTHH:mm:ss" in UTC.
QString iso(const QDateTime& date);

// Stops the worker thread; posts still unanswered and events still buffered are written to the
// queue file. Runs by itself when the QCoreApplication is destroyed.
void shutdown();

} // namespace Analytics
