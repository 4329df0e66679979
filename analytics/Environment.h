// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Platform values as last read on the main thread, so that track() on any thread neither calls
// into the GUI nor touches the file system. Internal to the analytics library.
namespace Analytics::detail {

struct Environment
{
    int screenCount = 0;
    bool isLoginItem = false;
    QString locale;
    QString timeZone;
    QString osVersion;
    QString osName;
    QString appVersion;
    QString appBuild;
};

// The cached values; read once from the providers on first use.
Environment environment();
// Reads the providers again (start(), setProviders(), every flush timer tick).
void refreshEnvironment();

// The "session_id" of this process, made on first use.
QString sessionId();
void renewSessionId();

} // namespace Analytics::detail
