// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Config.h"
#include "analytics/Testing.h"

#include "AnalyticsBuildConfig.h"

#include <QMutex>

#include <optional>

namespace {

constexpr int defaultFlushPeriodMs = 15000;

struct Endpoint
{
    QString baseUrl;
    QString token;
    int flushPeriodMs = defaultFlushPeriodMs;
};

QString withoutTrailingSlash(QString url)
{
    while (url.endsWith(u'/'))
        url.chop(1);
    return url;
}

// The packaged build names its endpoint and token at configure time; the environment may point a
// run elsewhere (a loopback server in end-to-end tests, a self-hosted collector).
Endpoint configured()
{
    Endpoint e;
    e.baseUrl =
        qEnvironmentVariable("TOCKWORK_ANALYTICS_URL", QStringLiteral(TOCKWORK_ANALYTICS_URL));
    e.token =
        qEnvironmentVariable("TOCKWORK_ANALYTICS_TOKEN", QStringLiteral(TOCKWORK_ANALYTICS_TOKEN));
    e.baseUrl = withoutTrailingSlash(e.baseUrl.trimmed());
    e.token = e.token.trimmed();
    return e;
}

QMutex g_mutex;
std::optional<Endpoint> g_endpoint;

Endpoint& endpointLocked()
{
    if (!g_endpoint)
        g_endpoint = configured();
    return *g_endpoint;
}

} // namespace

namespace Analytics::Config {

QString token()
{
    QMutexLocker lock(&g_mutex);
    return endpointLocked().token;
}

bool enabled()
{
    const QString t = token();
    // No token, or a placeholder: a build nobody registered sends nothing and keeps no queue.
    return !t.isEmpty() && !t.startsWith(QLatin1String("__"));
}

QString baseUrl()
{
    QMutexLocker lock(&g_mutex);
    return endpointLocked().baseUrl;
}

int flushPeriodMs()
{
    QMutexLocker lock(&g_mutex);
    return endpointLocked().flushPeriodMs;
}

} // namespace Analytics::Config

namespace Analytics::Testing {

void setBaseUrl(const QString& url)
{
    QMutexLocker lock(&g_mutex);
    endpointLocked().baseUrl = withoutTrailingSlash(url);
}

void setToken(const QString& token)
{
    QMutexLocker lock(&g_mutex);
    endpointLocked().token = token;
}

void setFlushPeriodMs(int ms)
{
    QMutexLocker lock(&g_mutex);
    endpointLocked().flushPeriodMs = ms;
}

void useConfiguredEndpoint()
{
    QMutexLocker lock(&g_mutex);
    g_endpoint = configured();
}

void resetConfig()
{
    QMutexLocker lock(&g_mutex);
    // Port 9 (discard) is closed on any machine the tests run on, so a test that forgets to point
    // the library at its own server still sends nothing anywhere.
    g_endpoint = Endpoint{QStringLiteral("http://127.0.0.1:9"),
                          QStringLiteral("0f1e2d3c4b5a69788796a5b4c3d2e1f0"), defaultFlushPeriodMs};
}

} // namespace Analytics::Testing
