// The application's own library: endpoints and token as built, with nothing sent.
#include "analytics/Analytics.h"
#include "analytics/Config.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(AnalyticsBuildConfig, EndpointsAndTokenAsConfigured)
{
    const QString base = QStringLiteral(EXPECTED_ANALYTICS_URL).remove(QRegularExpression("/+$"));
    EXPECT_EQ(Analytics::Config::trackUrl(), QUrl(base + "/track?ip=1"));
    EXPECT_EQ(Analytics::Config::engageUrl(), QUrl(base + "/engage?ip=1"));
    EXPECT_TRUE(base.startsWith("https://") || base.startsWith("http://127.0.0.1"));
    // A real project token, or a placeholder that switches analytics off.
    const QString token = Analytics::Config::token();
    EXPECT_TRUE(QRegularExpression("^[0-9a-f]{32}$").match(token).hasMatch() ||
                token.startsWith("__"));
}
