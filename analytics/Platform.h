// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analytics/OsRelease.h"

#include <QString>

#include <functional>
#include <optional>

namespace Analytics {

// Values only the running application can supply. The application sets the ones it knows at
// launch (screen count from the GUI, login item from its autostart code); unset ones fall back to
// what QtCore can tell.
struct Providers
{
    std::function<int()> screenCount; // default 0
    // Whether TockWork will start at login. Only the application's own autostart code can tell
    // (an entry the user switched off still exists), so the default answers false.
    std::function<bool()> isLoginItem;
    std::function<QString()> locale;   // default QLocale().name()
    std::function<QString()> timeZone; // default QTimeZone::systemTimeZoneId()
    // default: the distribution's VERSION_ID from os-release as x.y.z, the kernel's without one
    std::function<QString()> osVersion;
    std::function<QString()> appVersion; // default QCoreApplication::applicationVersion()
    std::function<QString()> appBuild;   // default "unknown"
};

// Call on the main thread (the providers are called there, and at each flush timer tick).
void setProviders(Providers providers);

// "x.y.z" from the leading numbers of a version text; missing parts are 0.
QString normalizedVersion(const QString& text);

// The system's version as reported: the distribution's release where its os-release gives a
// numeric one, else the kernel's ("rolling" and missing releases say nothing comparable).
QString systemVersion(const std::optional<OsRelease::Release>& release, const QString& kernel);
// The system's name as reported: the distribution's NAME, else "Linux".
QString systemName(const std::optional<OsRelease::Release>& release);

} // namespace Analytics
