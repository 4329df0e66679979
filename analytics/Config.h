#pragma once

#include <QString>
#include <QUrl>

// Where events go and under which project, fixed when the library is built (BuildConfig.cpp) or
// set by tests (TestingConfig.cpp). Internal to the analytics library.
namespace Analytics::Config {

QString token();
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
