#include "Config.h"
#include "Testing.h"

#include <QMutex>

namespace {

// Port 9 (discard) is closed on any machine the tests run on, so a test that forgets to point
// the library at its own server still sends nothing anywhere.
const QString defaultBaseUrl = QStringLiteral("http://127.0.0.1:9");
const QString defaultToken = QStringLiteral("0f1e2d3c4b5a69788796a5b4c3d2e1f0");
constexpr int defaultFlushPeriodMs = 15000;

QMutex g_mutex;
QString g_baseUrl = defaultBaseUrl;
QString g_token = defaultToken;
int g_flushPeriodMs = defaultFlushPeriodMs;

} // namespace

namespace Analytics::Config {

QString token()
{
    QMutexLocker lock(&g_mutex);
    return g_token;
}

QString baseUrl()
{
    QMutexLocker lock(&g_mutex);
    return g_baseUrl;
}

int flushPeriodMs()
{
    QMutexLocker lock(&g_mutex);
    return g_flushPeriodMs;
}

} // namespace Analytics::Config

namespace Analytics::Testing {

void setBaseUrl(const QString& url)
{
    QMutexLocker lock(&g_mutex);
    g_baseUrl = url;
}

void setToken(const QString& token)
{
    QMutexLocker lock(&g_mutex);
    g_token = token;
}

void setFlushPeriodMs(int ms)
{
    QMutexLocker lock(&g_mutex);
    g_flushPeriodMs = ms;
}

void resetConfig()
{
    QMutexLocker lock(&g_mutex);
    g_baseUrl = defaultBaseUrl;
    g_token = defaultToken;
    g_flushPeriodMs = defaultFlushPeriodMs;
}

} // namespace Analytics::Testing
