// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

// Where events go and under which project: as configured when the library was built, unless the
// environment (TOCKWORK_ANALYTICS_URL, TOCKWORK_ANALYTICS_TOKEN) or a test says otherwise.
// Internal to the analytics library.
namespace Analytics::Config {

QString token();
// False without a token or with a placeholder ("__..."): nothing is sent or queued.
bool enabled();
// Scheme, host and optional port of the ingestion API, without a trailing "/".
QString baseUrl();
int flushPeriodMs();

inline QUrl trackUrl()
{
    return QUrl(baseUrl() + QStringLiteral("/track?ip=1"));
}
inline QUrl engageUrl()
{
    return QUrl(baseUrl() + QStringLiteral("/engage?ip=1"));
}

} // namespace Analytics::Config
