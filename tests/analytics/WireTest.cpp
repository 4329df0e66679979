// Pure parts: wire encoding, chunking, salary buckets, version texts, dates and labels.
#include "analytics/Wire.h"
#include "analytics/Analytics.h"
#include "analytics/Chunked.h"
#include "analytics/Labels.h"
#include "analytics/Platform.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSslSocket>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

TEST(AnalyticsWire, BodyIsPercentEncodedBase64OfTheJson)
{
    // Characters chosen so the Base64 text holds "+", "/" and padding.
    QJsonArray batch;
    for (int i = 0; i < 7; ++i)
        batch.append(QJsonObject{{"event", QString("ü?~>%1").arg(i)},
                                 {"properties", QJsonObject{{"k", "월루?!>>"}}}});
    const QByteArray body = Analytics::Wire::formBody(batch);

    ASSERT_TRUE(body.startsWith("data="));
    const QString payload = QString::fromLatin1(body.mid(5));
    EXPECT_TRUE(QRegularExpression("^(?:[A-Za-z0-9]|%2B|%2F|%3D)+$").match(payload).hasMatch())
        << payload.toStdString();
    EXPECT_TRUE(payload.contains("%2B") || payload.contains("%2F"));

    const QByteArray json = QByteArray::fromBase64(QByteArray::fromPercentEncoding(body.mid(5)));
    EXPECT_EQ(QJsonDocument::fromJson(json).array(), batch);
}

// Posts go to an https:// endpoint; without Qt's OpenSSL backend every batch would fail and
// pile up in the queue file.
TEST(AnalyticsWire, TlsBackendIsAvailable)
{
    EXPECT_TRUE(QSslSocket::supportsSsl()) << QSslSocket::activeBackend().toStdString();
}

TEST(AnalyticsChunked, SplitsIntoPiecesOfTheGivenSize)
{
    QList<int> list;
    for (int i = 0; i < 65; ++i)
        list.push_back(i);
    const auto pieces = Analytics::chunked(list, 30);
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces[0].size(), 30);
    EXPECT_EQ(pieces[1].front(), 30);
    EXPECT_EQ(pieces[2], (QList<int>{60, 61, 62, 63, 64}));

    EXPECT_TRUE(Analytics::chunked(QList<int>{}, 30).isEmpty());
    EXPECT_EQ(Analytics::chunked(list, 0), QList<QList<int>>{list});
    EXPECT_EQ(Analytics::chunked(list, -5).size(), 1);
    EXPECT_EQ(Analytics::chunked(QList<int>{1, 2}, 30), (QList<QList<int>>{{1, 2}}));
}

struct BucketCase
{
    qint64 won;
    const char* bucket;
};

void PrintTo(const BucketCase& c, std::ostream* os)
{
    *os << c.won << " won";
}

class SalaryBucket : public ::testing::TestWithParam<BucketCase>
{};

TEST_P(SalaryBucket, CountsInTensOfThousandsOfWon)
{
    EXPECT_EQ(Analytics::salaryBucket(GetParam().won), QString(GetParam().bucket));
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, SalaryBucket,
    ::testing::Values(BucketCase{std::numeric_limits<qint64>::min(), "unset"},
                      BucketCase{-5, "unset"}, BucketCase{0, "unset"}, BucketCase{1, "under_200"},
                      BucketCase{1'999'999, "under_200"}, BucketCase{2'000'000, "200_250"},
                      BucketCase{2'499'999, "200_250"}, BucketCase{2'500'000, "250_300"},
                      BucketCase{3'000'000, "300_350"}, BucketCase{3'500'000, "350_400"},
                      BucketCase{4'000'000, "400_500"}, BucketCase{4'999'999, "400_500"},
                      BucketCase{5'000'000, "500_700"}, BucketCase{6'999'999, "500_700"},
                      BucketCase{7'000'000, "700_plus"},
                      BucketCase{std::numeric_limits<qint64>::max(), "700_plus"}));

TEST(AnalyticsVersions, AlwaysThreeDecimalParts)
{
    EXPECT_EQ(Analytics::normalizedVersion("6.1.0-18-amd64"), "6.1.0");
    EXPECT_EQ(Analytics::normalizedVersion("14.4"), "14.4.0");
    EXPECT_EQ(Analytics::normalizedVersion("12"), "12.0.0");
    EXPECT_EQ(Analytics::normalizedVersion("22.04.3 LTS"), "22.4.3");
    EXPECT_EQ(Analytics::normalizedVersion("n/a"), "0.0.0");
    EXPECT_EQ(Analytics::normalizedVersion(""), "0.0.0");
    EXPECT_EQ(Analytics::normalizedVersion("99999999999999999999999.1"), "0.1.0");
}

TEST(AnalyticsIso, UtcWithoutFractionOrZone)
{
    const QDateTime seoul(QDate(2026, 1, 1), QTime(8, 5, 9, 999), QTimeZone("Asia/Seoul"));
    EXPECT_EQ(Analytics::iso(seoul), "2025-12-31T23:05:09");
    EXPECT_EQ(Analytics::iso(QDateTime::fromSecsSinceEpoch(0, Qt::UTC)), "1970-01-01T00:00:00");
}

TEST(AnalyticsLabels, EveryNameOfAServiceGivesOneLabel)
{
    for (const char* name : {"유튜브", "youtube", "유튭", "  YouTube\t"})
        EXPECT_EQ(Analytics::distractionLabel(QString::fromUtf8(name)), "youtube") << name;
    EXPECT_EQ(Analytics::distractionLabel("카톡"), "kakaotalk");
    EXPECT_EQ(Analytics::distractionLabel("당근마켓"), "daangn");
    // What the user typed themselves never leaves the machine.
    EXPECT_EQ(Analytics::distractionLabel("회사 몰래 보는 앱"), "custom");
    EXPECT_EQ(Analytics::distractionLabel(""), "custom");
}

struct UrlCase
{
    std::optional<QString> address;
    const char* label;
};

void PrintTo(const UrlCase& c, std::ostream* os)
{
    *os << c.address.value_or("<none>").toStdString();
}

class UrlLabel : public ::testing::TestWithParam<UrlCase>
{};

TEST_P(UrlLabel, MatchesHostsAtTheDotBoundary)
{
    EXPECT_EQ(Analytics::distractionLabelForURL(GetParam().address), QString(GetParam().label))
        << GetParam().address.value_or("<none>").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Hosts, UrlLabel,
                         ::testing::Values(UrlCase{"https://www.youtube.com/watch?v=1", "youtube"},
                                           UrlCase{"https://music.youtube.com/", "youtube"},
                                           UrlCase{"https://youtube-nocookie.com/embed", "youtube"},
                                           UrlCase{"https://x.com/home", "twitter"},
                                           UrlCase{"https://mobile.x.com/i", "twitter"},
                                           // Ends in the same letters without a "." before them.
                                           UrlCase{"https://box.com/files", "custom"},
                                           UrlCase{"https://twitter.com/", "twitter"},
                                           UrlCase{"https://m.naver.com", "naver"},
                                           UrlCase{"https://example.org/youtube", "custom"},
                                           UrlCase{"https://", "custom"}, UrlCase{"", "custom"},
                                           UrlCase{std::nullopt, "custom"}));

} // namespace
