// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// For tests and benchmarks only (the application never calls these): aim the library at a server
// on 127.0.0.1 and start each case from the state of a fresh process.
namespace Analytics::Testing {

void setBaseUrl(const QString& url); // e.g. "http://127.0.0.1:34567"
void setToken(const QString& token);
void setFlushPeriodMs(int ms);
// Reads the endpoint again as the application does at its first event: the build's settings,
// overridden by the environment.
void useConfiguredEndpoint();
// Back to the tests' defaults: a closed loopback port and a well-formed test token.
void resetConfig();

// Back to a freshly started process: buffer and in-flight posts are dropped without being
// persisted, the flush timer is deleted, demoRun is cleared, a new session id is made and the
// configuration returns to its defaults. Call on the main thread.
void reset();

bool flushTimerActive();
bool workerStarted();
// Records waiting in the buffer, and track/engage posts not yet answered (0 when not started).
int bufferedCount();
int inFlightCount();

} // namespace Analytics::Testing
