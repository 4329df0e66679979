// What every event says about the machine and the user's settings, and what a launch reports.
#include "AnalyticsFixture.h"

#include "Cfg.h"
#include "slacking/Wollu.h"

#include <QRegularExpression>
#include <QSysInfo>

namespace {

using Analytics::Testing::setFlushPeriodMs;

TEST_F(AnalyticsTest, SuperPropertiesDescribeThisMachineAndTheSettings)
{
    Cfg::save(510, 1110, 780, 720, 2'000'000, false); // lunch 13:00-12:00 counts as none
    Wollu::setApps("유튜브, 회사앱 ,,x.com");
    Wollu::setDisabled(true);

    const QJsonObject p = Analytics::superProperties();
    EXPECT_EQ(p.size(), 31);
    EXPECT_EQ(p["token"].toString(), "0f1e2d3c4b5a69788796a5b4c3d2e1f0");
    EXPECT_EQ(p["distinct_id"], p["$device_id"]);
    EXPECT_EQ(p["platform"].toString(), "linux");
    EXPECT_EQ(p["$os"].toString(), "Linux");
    EXPECT_EQ(p["arch"].toString(), QSysInfo::currentCpuArchitecture());
    EXPECT_TRUE(
        QRegularExpression("^\\d+\\.\\d+\\.\\d+$").match(p["$os_version"].toString()).hasMatch());
    EXPECT_EQ(p["os_version"], p["$os_version"]);
    EXPECT_EQ(p["surface"].toString(), "app");
    EXPECT_EQ(p["session_id"].toString().size(), 36);
    EXPECT_TRUE(p["is_login_item"].isBool());
    EXPECT_EQ(p["screen_count"].toInteger(), 0);
    EXPECT_EQ(p["salary_set"].toBool(), true);
    EXPECT_EQ(p["salary_bucket"].toString(), "200_250");
    EXPECT_EQ(p["lunch_minutes"].toInteger(), 0);
    EXPECT_DOUBLE_EQ(p["daily_work_hours"].toDouble(), 10.0);
    EXPECT_EQ(p["work_start_min"].toInteger(), 510);
    EXPECT_EQ(p["exclude_weekend"].toBool(), false);
    EXPECT_EQ(p["wollu_enabled"].toBool(), false);
    EXPECT_EQ(p["distraction_count"].toInteger(), 3);
    EXPECT_EQ(p["day_of_week"].toInteger(), 3); // Tuesday, counting Sunday as 1
    EXPECT_EQ(p["hour_of_day"].toInteger(), 17);
    EXPECT_EQ(p["launch_count"].toInteger(), 0);
    EXPECT_EQ(p["days_since_install"].toInteger(), 0);
}

TEST_F(AnalyticsTest, ProvidersAndTheAutostartFileFeedThePlatformValues)
{
    QDir().mkpath(home_.path() + "/config/autostart");
    QFile desktop(home_.path() + "/config/autostart/tockwork.desktop");
    ASSERT_TRUE(desktop.open(QIODevice::WriteOnly));
    desktop.close();
    Analytics::setProviders({});
    EXPECT_TRUE(Analytics::superProperties()["is_login_item"].toBool());

    Analytics::Providers providers;
    providers.screenCount = [] { return 2; };
    providers.isLoginItem = [] { return false; };
    providers.appVersion = [] { return QString(); };
    providers.timeZone = [] { return QStringLiteral("Asia/Seoul"); };
    Analytics::setProviders(providers);
    const QJsonObject p = Analytics::superProperties();
    EXPECT_EQ(p["screen_count"].toInteger(), 2);
    EXPECT_FALSE(p["is_login_item"].toBool());
    EXPECT_EQ(p["app_version"].toString(), "unknown");
    EXPECT_EQ(p["timezone"].toString(), "Asia/Seoul");
    Analytics::setProviders({});
}

TEST_F(AnalyticsTest, EventRecordCarriesSuperPropertiesCallerValuesTimeAndInsertId)
{
    Clock::freeze(tuesdayFivePm + 0.9999);
    Analytics::track("Panel Opened",
                     {{"state", "working"}, {"salary_bucket", "mine"}, {"pinned", true}});
    Analytics::flush();
    ASSERT_TRUE(waitUntil([&] { return server_->trackRecords().size() == 1; }));

    const QJsonObject record = server_->trackRecords()[0].toObject();
    EXPECT_EQ(record.keys(), (QStringList{"event", "properties"}));
    EXPECT_EQ(record["event"].toString(), "Panel Opened");
    const QJsonObject p = record["properties"].toObject();
    EXPECT_EQ(p.size(), 31 + 2 + 2); // super properties, two new keys, time and $insert_id
    EXPECT_EQ(p["salary_bucket"].toString(), "mine");
    EXPECT_EQ(p["pinned"].toBool(), true);
    EXPECT_EQ(p["time"].toInteger(), 1773129600999LL);
    EXPECT_EQ(p["$insert_id"].toString().size(), 36);
    EXPECT_EQ(p["$insert_id"].toString(), p["$insert_id"].toString().toUpper());
    EXPECT_EQ(p["distinct_id"].toString(),
              Store::standard().text("analyticsDistinctId").value_or(""));
}

TEST_F(AnalyticsTest, IdentityIsMadeOnceAndReplacedOnlyWhenEmpty)
{
    const QString id = Analytics::distinctID();
    EXPECT_EQ(id.size(), 36);
    EXPECT_EQ(Analytics::distinctID(), id);
    Store::standard().set("analyticsDistinctId", QString());
    const QString fresh = Analytics::distinctID();
    EXPECT_NE(fresh, id);
    EXPECT_EQ(fresh.size(), 36);
}

TEST_F(AnalyticsTest, FirstLaunchInstallsLaterLaunchesKeepTheInstallDate)
{
    Analytics::start();
    ASSERT_TRUE(waitUntil([&] {
        return server_->trackRecords().size() == 2 && server_->engageRecords().size() == 3;
    }));
    const QJsonArray first = server_->trackRecords();
    EXPECT_EQ(first[0].toObject()["event"].toString(), "App Installed");
    EXPECT_TRUE(first[0].toObject()["properties"].toObject()["macos_version"].isString());
    EXPECT_EQ(first[1].toObject()["event"].toString(), "App Launched");
    EXPECT_TRUE(first[1].toObject()["properties"].toObject()["is_first_launch"].toBool());
    EXPECT_EQ(first[1].toObject()["properties"].toObject()["launch_count"].toInteger(), 1);

    QStringList operations;
    for (const QJsonObject& engage : server_->engageRecords()) {
        EXPECT_EQ(engage["$token"].toString(), "0f1e2d3c4b5a69788796a5b4c3d2e1f0");
        EXPECT_EQ(engage["$distinct_id"].toString(), Analytics::distinctID());
        for (const QString& key : engage.keys())
            if (key != "$token" && key != "$distinct_id")
                operations += key;
        if (engage.contains("$set")) {
            EXPECT_EQ(engage["$set"].toObject().size(), 17);
        }
        if (engage.contains("$set_once")) {
            EXPECT_EQ(engage["$set_once"].toObject()["first_seen_at"].toString(),
                      "2026-03-10T08:00:00");
        }
        if (engage.contains("$add")) {
            EXPECT_EQ(engage["$add"].toObject(), (QJsonObject{{"total_launches", 1}}));
        }
    }
    operations.sort();
    EXPECT_EQ(operations, (QStringList{"$add", "$set", "$set_once"}));
    const QDateTime installedAt = Store::standard().object("analyticsInstalledAt").toDateTime();

    // Three days and an hour later: not a first launch, and the install date has not moved.
    Clock::freeze(tuesdayFivePm + 3 * 86400 + 3600);
    relaunch();
    Analytics::start();
    ASSERT_TRUE(waitUntil([&] { return server_->trackRecords().size() == 3; }));
    const QJsonObject launched = server_->trackRecords()[2].toObject()["properties"].toObject();
    EXPECT_FALSE(launched["is_first_launch"].toBool());
    EXPECT_EQ(launched["launch_count"].toInteger(), 2);
    EXPECT_EQ(launched["days_since_install"].toInteger(), 3);
    EXPECT_EQ(Store::standard().object("analyticsInstalledAt").toDateTime(), installedAt);
    EXPECT_EQ(Store::standard().integer("analyticsLaunchCount"), 2);
}

TEST_F(AnalyticsTest, DaysSinceInstallCountsWholeDaysAndIgnoresOddValues)
{
    Store& store = Store::standard();
    EXPECT_EQ(Analytics::daysSinceInstall(), 0);
    store.set("analyticsInstalledAt",
              QDateTime::fromSecsSinceEpoch(qint64(tuesdayFivePm) - 2 * 86400 + 60));
    EXPECT_EQ(Analytics::daysSinceInstall(), 1); // one minute short of two days
    store.set("analyticsInstalledAt",
              QDateTime::fromSecsSinceEpoch(qint64(tuesdayFivePm) + 5 * 86400));
    EXPECT_EQ(Analytics::daysSinceInstall(), 0); // clock set back before the install
    store.set("analyticsInstalledAt", QStringLiteral("yesterday"));
    EXPECT_EQ(Analytics::daysSinceInstall(), 0);
}

} // namespace
