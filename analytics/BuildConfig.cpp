#include "Config.h"

#include "AnalyticsBuildConfig.h"

namespace Analytics::Config {

QString token()
{
    return QStringLiteral(TOCKWORK_ANALYTICS_TOKEN);
}

QString baseUrl()
{
    QString url = QStringLiteral(TOCKWORK_ANALYTICS_URL);
    while (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}

int flushPeriodMs()
{
    return 15000;
}

} // namespace Analytics::Config
