// SPDX-License-Identifier: GPL-3.0-or-later
// The endpoint as the application sees it: the build's settings, then the environment.
#include "analytics/Analytics.h"
#include "analytics/Config.h"
#include "analytics/Testing.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(AnalyticsConfig, EndpointsAndTokenAsBuilt)
{
    qunsetenv("TOCKWORK_ANALYTICS_URL");
    qunsetenv("TOCKWORK_ANALYTICS_TOKEN");
    Analytics::Testing::useConfiguredEndpoint();
    const QString base = QStringLiteral(EXPECTED_ANALYTICS_URL).remove(QRegularExpression("/+$"));
    EXPECT_EQ(Analytics::Config::trackUrl(), QUrl(base + "/track?ip=1"));
    EXPECT_EQ(Analytics::Config::engageUrl(), QUrl(base + "/engage?ip=1"));
    // A build given no project token sends nothing.
    EXPECT_EQ(Analytics::Config::token(), QStringLiteral(EXPECTED_ANALYTICS_TOKEN));
    EXPECT_EQ(Analytics::Config::enabled(),
              !QStringLiteral(EXPECTED_ANALYTICS_TOKEN).isEmpty() &&
                  !QStringLiteral(EXPECTED_ANALYTICS_TOKEN).startsWith("__"));
}

TEST(AnalyticsConfig, TheEnvironmentPointsARunElsewhere)
{
    qputenv("TOCKWORK_ANALYTICS_URL", "http://127.0.0.1:4567//");
    qputenv("TOCKWORK_ANALYTICS_TOKEN", "0123456789abcdef0123456789abcdef");
    Analytics::Testing::useConfiguredEndpoint();
    EXPECT_EQ(Analytics::Config::trackUrl(), QUrl("http://127.0.0.1:4567/track?ip=1"));
    EXPECT_TRUE(Analytics::Config::enabled());

    for (const char* off : {"", "__placeholder__"}) {
        qputenv("TOCKWORK_ANALYTICS_TOKEN", off);
        Analytics::Testing::useConfiguredEndpoint();
        EXPECT_FALSE(Analytics::Config::enabled()) << off;
        EXPECT_FALSE(Analytics::enabled()) << off;
    }
}
