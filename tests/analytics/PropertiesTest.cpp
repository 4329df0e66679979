// SPDX-License-Identifier: GPL-3.0-or-later
// What events say about the machine, the settings and the day; how a batch goes on the wire.
#include "AnalyticsFixture.h"

#include "analytics/Derived.h"
#include "analytics/Labels.h"
#include "analytics/Platform.h"
#include "analytics/Wire.h"
#include "engine/Cfg.h"
#include "slacking/Wollu.h"

#include <QFile>
#include <QRegularExpression>
#include <QSslSocket>
#include <QTemporaryDir>

#include <limits>

namespace {

TEST(AnalyticsWire, BodyIsPercentEncodedBase64OfTheJson)
{
    // Characters chosen so the Base64 text holds "+", "/" and padding.
    QJsonArray batch;
    for (int i = 0; i < 7; ++i)
        batch.append(QJsonObject{{"event", QString("ü?~>%1").arg(i)}, {"k", "월루?!>>"}});
    const QByteArray body = Analytics::Wire::formBody(batch);
    const QString text = QString::fromLatin1(body);
    EXPECT_TRUE(QRegularExpression("^data=(?:[A-Za-z0-9]|%2B|%2F|%3D)+$").match(text).hasMatch());
    EXPECT_TRUE(text.contains("%2B") || text.contains("%2F"));
    const QByteArray json = QByteArray::fromBase64(QByteArray::fromPercentEncoding(body.mid(5)));
    EXPECT_EQ(QJsonDocument::fromJson(json).array(), batch);
    // Posts go to an https:// endpoint; without a TLS backend every batch would pile up.
    EXPECT_TRUE(QSslSocket::supportsSsl()) << QSslSocket::activeBackend().toStdString();
}

// Each key of the JSON object `table`, given to `f`, gives its value.
void expectTable(const char* table, const std::function<QString(const QString&)>& f)
{
    const QJsonObject expected = AnalyticsTest::json(table);
    for (const QString& in : expected.keys())
        EXPECT_EQ(f(in), expected[in].toString()) << in.toStdString();
}

TEST(AnalyticsFigures, SalaryBucketsAndVersions)
{
    expectTable(R"({"-5": "unset", "0": "unset", "1": "under_200", "1999999": "under_200",
                    "2000000": "200_250", "2500000": "250_300", "3000000": "300_350",
                    "3500000": "350_400", "4999999": "400_500", "5000000": "500_700",
                    "6999999": "500_700", "7000000": "700_plus"})",
                [](const QString& won) { return Analytics::salaryBucket(won.toLongLong()); });
    expectTable(R"({"6.1.0-18-amd64": "6.1.0", "14.4": "14.4.0", "22.04.3 LTS": "22.4.3",
                    "n/a": "0.0.0", "99999999999999999999999.1": "0.1.0"})",
                &Analytics::normalizedVersion);
}

TEST(AnalyticsFigures, SystemNameAndVersionComeFromTheDistributionTheKernelOnlyWithoutOne)
{
    const auto release = [](const char* text) { return OsRelease::parse(QByteArray(text)); };
    const QString kernel = QStringLiteral("6.18.44-amd64");

    const auto debian = release("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                                "NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\nID=debian\n");
    EXPECT_EQ(Analytics::systemName(debian), "Debian GNU/Linux");
    EXPECT_EQ(Analytics::systemVersion(debian, kernel), "12.0.0");

    const auto ubuntu = release("# comment\nNAME='Ubuntu'\n  VERSION_ID=24.04  \n");
    EXPECT_EQ(Analytics::systemName(ubuntu), "Ubuntu");
    EXPECT_EQ(Analytics::systemVersion(ubuntu, kernel), "24.4.0");

    const auto escaped = release("NAME=\"My \\\"Own\\\" OS\"\nNAME_X=no\nXNAME=no\n");
    EXPECT_EQ(escaped.name, "My \"Own\" OS");

    // Rolling and unnumbered releases and a system without the file: the kernel's numbers.
    for (const char* text : {"NAME=\"Arch Linux\"\nBUILD_ID=rolling\n", "VERSION_ID=n/a\n", ""})
        EXPECT_EQ(Analytics::systemVersion(release(text), kernel), "6.18.44") << text;
    EXPECT_EQ(Analytics::systemVersion(std::nullopt, kernel), "6.18.44");
    EXPECT_EQ(Analytics::systemName(std::nullopt), "Linux");
    EXPECT_EQ(Analytics::systemName(release("VERSION_ID=1\n")), "Linux");
}

TEST(AnalyticsFigures, TheFirstReadableOsReleaseFileWins)
{
    QTemporaryDir dir;
    QFile vendor(dir.filePath("os-release"));
    ASSERT_TRUE(vendor.open(QIODevice::WriteOnly));
    vendor.write("NAME=Fedora\nVERSION_ID=41\n");
    vendor.close();
    const auto found = OsRelease::readFirst({dir.filePath("missing"), vendor.fileName()});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, "Fedora");
    EXPECT_EQ(found->versionId, "41");
    EXPECT_FALSE(OsRelease::readFirst({dir.filePath("missing")}));
}

TEST(AnalyticsLabels, KnownServicesByNameOrHostEverythingElseIsCustom)
{
    // What the user typed themselves never leaves the machine.
    expectTable(R"({"유튜브": "youtube", "  YouTube\t": "youtube", "유튭": "youtube",
                    "카톡": "kakaotalk", "당근마켓": "daangn", "회사 몰래 보는 앱": "custom", "": "custom"})",
                &Analytics::distractionLabel);
    // Hosts match at a "." boundary only, never in the path.
    expectTable(
        R"({"https://music.youtube.com/": "youtube", "https://youtube-nocookie.com/e": "youtube",
                    "https://mobile.x.com/i": "twitter", "https://box.com/files": "custom",
                    "https://m.naver.com": "naver", "https://example.org/youtube": "custom",
                    "https://": "custom"})",
        [](const QString& url) { return Analytics::distractionLabelForURL(url); });
    EXPECT_EQ(Analytics::distractionLabelForURL(std::nullopt), "custom");
}

TEST_F(AnalyticsTest, LaunchesReportTheMachineTheSettingsAndTheInstall)
{
    Cfg::save(510, 1110, 780, 720, 2'000'000, false); // lunch 13:00-12:00 counts as none
    Wollu::setApps("유튜브, 회사앱 ,,x.com");
    Wollu::setDisabled(true);
    Clock::freeze(tuesdayFivePm + 0.9999);
    Analytics::start();
    ASSERT_TRUE(waitUntil(
        [&] { return server_->records().size() == 2 && server_->records(false).size() == 3; }));
    EXPECT_EQ(server_->records().at(0)["event"].toString(), "App Installed");
    const QJsonValue p = server_->records().at(1)["properties"];
    expectFields(p, R"({"is_first_launch": true, "salary_bucket": "200_250", "lunch_minutes": 0,
        "daily_work_hours": 10, "wollu_enabled": false, "distraction_count": 3, "day_of_week": 3,
        "hour_of_day": 17, "time": 1773129600999})"); // day 3: Tuesday, counting Sunday as 1
    EXPECT_EQ(p["$insert_id"].toString(), p["$insert_id"].toString().toUpper());
    EXPECT_EQ(p["$insert_id"].toString().size(), 36);
    QJsonObject operations;
    for (const QJsonValue& engage : server_->records(false))
        for (const QString& key : engage.toObject().keys())
            operations[key] = engage[key];
    EXPECT_EQ(operations["$token"].toString(), "0f1e2d3c4b5a69788796a5b4c3d2e1f0");
    EXPECT_EQ(operations["$distinct_id"].toString(), Analytics::distinctID());
    EXPECT_EQ(operations["$set"].toObject().size(), 17);
    EXPECT_EQ(operations.value("$set_once")["first_seen_at"].toString(), "2026-03-10T08:00:00");
    EXPECT_EQ(operations["$add"], json(R"({"total_launches": 1})"));

    // Three days and an hour later: not a first launch, and the install date has not moved.
    Clock::freeze(tuesdayFivePm + 3 * 86400 + 3600);
    relaunch();
    Analytics::start();
    ASSERT_TRUE(waitUntil([&] { return server_->records().size() == 3; }));
    expectFields(server_->records().at(2)["properties"],
                 R"({"is_first_launch": false, "launch_count": 2, "days_since_install": 3})");
    // A clock set back before the install, or an odd stored value, counts as 0 days.
    Clock::freeze(tuesdayFivePm - 60);
    EXPECT_EQ(Analytics::daysSinceInstall(), 0);
    Store::standard().set("analyticsInstalledAt", QStringLiteral("yesterday"));
    EXPECT_EQ(Analytics::daysSinceInstall(), 0);
}

// Times from a hand-edited file at the ends of the integer range: the lunch is measured without
// overflow (the sanitizer build aborts on it), as none when it ends before it starts.
TEST_F(AnalyticsTest, LunchMinutesOfStoredExtremesStayInRange)
{
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    Cfg::save(540, 1080, kMin, kMax, 3'000'000, true);
    EXPECT_EQ(Analytics::Derived::lunchMinutes(), qint64(9.0e18));
    Cfg::save(540, 1080, kMax, kMin, 3'000'000, true);
    EXPECT_EQ(Analytics::Derived::lunchMinutes(), 0);
}

} // namespace
