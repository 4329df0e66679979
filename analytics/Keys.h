// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Every store key of the analytics subsystem.
namespace Analytics::Keys {

// Boolean, absent = false: the user declined analytics.
inline const QString optOut = QStringLiteral("analyticsOptOut");
// Text: the anonymous identity, a UUID made once.
inline const QString distinctId = QStringLiteral("analyticsDistinctId");
// Date (UTC): the first enabled launch; never moved afterwards.
inline const QString installedAt = QStringLiteral("analyticsInstalledAt");
// Integer, absent = 0: enabled launches so far.
inline const QString launchCount = QStringLiteral("analyticsLaunchCount");
// Day key ("2026-12-5") the stored snapshot belongs to.
inline const QString snapshotDay = QStringLiteral("analyticsSnapshotDay");
// Map text -> value: the running snapshot of that day, summarised on a later day.
inline const QString snapshot = QStringLiteral("analyticsSnapshot");

} // namespace Analytics::Keys
