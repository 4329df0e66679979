#include "CliRunner.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

// 3,000,000 won a month; March 2026 has 21 working days (1 March falls on a Sunday, so
// 2 March is a substitute holiday): 17,857.14 won an hour.
const QByteArray kSalariedStore = "[General]\n"
                                  "monthlySalaryWon=3000000\n"
                                  "wolluApps=유튜브,레딧\n"
                                  "wolluDay=2026-3-10\n"
                                  "wolluSec=2820\n"
                                  "pauseDay=2026-3-10\n"
                                  "dinnerDay=2026-3-10\n";

QJsonObject parseJson(const QByteArray& out)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
    return doc.object();
}

QString utf8(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes);
}

TEST_F(CliTest, JsonCarriesTheDisplayAndItsStatus)
{
    writeStore(kSalariedStore);
    const CliResult r = run({"status", "--json", "--at", "2026-03-10 10:30"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count('\n'), 1);

    const QJsonObject o = parseJson(r.out);
    EXPECT_EQ(o.keys(), QStringList({"earnedText", "mascot", "mood", "remainText", "remainWorkText",
                                     "showMoney", "status", "title", "wolluHot", "wolluMoneyText",
                                     "wolluPctText", "wolluText", "workedText"}));
    EXPECT_EQ(o["title"].toString(), "열심히 일하는 중 🐜");
    EXPECT_EQ(o["earnedText"].toString(), "(세전)26,786원 벌었어요");
    EXPECT_TRUE(o["showMoney"].toBool());
    EXPECT_EQ(o["wolluText"].toString(), "⏰ 47분 딴짓");

    const QJsonObject s = o["status"].toObject();
    EXPECT_EQ(s["state"].toString(), "working");
    EXPECT_DOUBLE_EQ(s["progress"].toDouble(), 90.0 / 480.0);
    EXPECT_DOUBLE_EQ(s["workedMin"].toDouble(), 90);
    EXPECT_DOUBLE_EQ(s["remainMin"].toDouble(), 390);
    EXPECT_DOUBLE_EQ(s["overtimeMin"].toDouble(), 0);
}

TEST_F(CliTest, LineAndFullReportFollowThePhase)
{
    writeStore(kSalariedStore);
    EXPECT_EQ(utf8(run({"--line", "--at", "2026-03-10 10:30"}).out),
              "🐜 (세전)26,786원 · 6시간 30분 남음\n");
    EXPECT_EQ(utf8(run({"--line", "--at=2026-03-10 19:30:00"}).out),
              "🐜💦 야근 1시간 30분 · +(세전)38,793원\n");
    EXPECT_EQ(utf8(run({"--line", "--at", "2026-03-14 10:00"}).out), "😴 쉬는 날\n");

    QString full = utf8(run({"status", "--at", "2026-03-10 10:30"}).out);
    EXPECT_TRUE(full.startsWith("열심히 일하는 중 🐜\n개미는 톡웍 오늘도 톡웍\n"))
        << full.toStdString();
    for (const char* row : {"일한 시간  1시간 30분", "번 돈      (세전)26,786원 벌었어요",
                            "남은 돈    (세전)116,071원 벌어야 해요", "💰 13,988원 월루"})
        EXPECT_TRUE(full.contains(QString::fromUtf8(row))) << row << "\n" << full.toStdString();

    full = utf8(run({"--at", "2026-03-10 19:30"}).out);
    EXPECT_TRUE(full.contains("야근 시간  1시간 30분")) << full.toStdString();
    EXPECT_TRUE(full.contains("야근 수당  (세전)38,793원 더 벌었어요")) << full.toStdString();
}

TEST_F(CliTest, NeverWritesTheStoreEvenWhenTheDayRollsOver)
{
    writeStore(kSalariedStore);
    const StoreSnapshot before = StoreSnapshot::of(storePath());

    // The 11th and the next year are new days for every record: they reset, in memory only.
    const CliResult nextDay = run({"--json", "--at", "2026-03-11 10:00"});
    EXPECT_EQ(nextDay.exitCode, 0);
    EXPECT_EQ(parseJson(nextDay.out)["wolluText"].toString(), "아직 월루 0분, 집중 중! 🎯");
    for (const QStringList& args :
         {QStringList{"--line", "--at", "2027-01-04 09:30"}, QStringList{"status"},
          QStringList{"--json"}, QStringList{"holidays", "2026"}})
        EXPECT_EQ(run(args).exitCode, 0) << args.join(' ').toStdString();
    EXPECT_TRUE(StoreSnapshot::of(storePath()) == before);

    // And the original day still reads the original total.
    const CliResult sameDay = run({"--json", "--at", "2026-03-10 10:30"});
    EXPECT_EQ(parseJson(sameDay.out)["wolluText"].toString(), "⏰ 47분 딴짓");
}

TEST_F(CliTest, MissingOrDamagedStoreStillPrintsDefaults)
{
    CliResult r = run({"--json", "--at", "2026-03-10 10:30"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(parseJson(r.out)["earnedText"].toString(), "월급 설정 필요");
    EXPECT_FALSE(QDir(configHome()).exists()) << "a settings folder was created";

    static const char damaged[] = "[General\nmonthlySalaryWon=\xff\xfe\x00garbage\n"
                                  "wolluSec=nan\nworkStart=99999999999999999999\n[[[\n=\n";
    writeStore(QByteArray(damaged, sizeof(damaged) - 1) + QByteArray(4096, '\xc3'));
    const StoreSnapshot before = StoreSnapshot::of(storePath());
    for (const char* style : {"--json", "--line", "status"}) {
        r = run({style, "--at", "2026-03-10 10:30"});
        EXPECT_TRUE(r.exitStatus == QProcess::NormalExit && r.exitCode == 0 && !r.out.isEmpty())
            << style << r.err.toStdString();
    }
    EXPECT_TRUE(StoreSnapshot::of(storePath()) == before);
}

TEST_F(CliTest, HolidaysListsEveryDayInOrder)
{
    const CliResult r = run({"holidays", "2025", "2026"});
    ASSERT_EQ(r.exitCode, 0);
    QStringList dates;
    for (const QString& line : utf8(r.out).split('\n', Qt::SkipEmptyParts)) {
        EXPECT_TRUE(line.contains(QRegularExpression("^202[56]-\\d\\d-\\d\\d\\t\\S")))
            << line.toStdString();
        dates.append(line.left(10));
    }
    QStringList sorted = dates;
    sorted.sort();
    EXPECT_EQ(dates, sorted);
    EXPECT_TRUE(r.out.startsWith("2025-01-01\t"));
    for (const char* expected : {"2026-02-16\t설날", "2026-02-18\t설날", "2026-05-01",
                                 "2026-05-24\t부처님 오신 날", "2026-05-25", "2026-07-17"})
        EXPECT_TRUE(r.out.contains(QByteArray(expected).prepend('\n'))) << expected;
}

class BadArguments : public CliTest, public ::testing::WithParamInterface<QStringList>
{};

TEST_P(BadArguments, ExitWithUsageOnStandardError)
{
    const CliResult r = run(GetParam());
    EXPECT_EQ(r.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(r.err.startsWith('\n')) << "the reason comes first";
    EXPECT_TRUE(r.err.contains("사용법: tockwork-cli")) << r.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadArguments,
    ::testing::Values(
        QStringList{"bogus"}, QStringList{"--frobnicate"}, QStringList{"status", "extra"},
        QStringList{"--line", "--json"}, QStringList{"--at"}, QStringList{"--at", "2026-03-10"},
        QStringList{"--at", "2026-02-30 10:00"}, QStringList{"--at", "2026-03-10 24:00"},
        QStringList{"--at", "2026-03-10 10:60"}, QStringList{"--at", "10:30"},
        QStringList{"--at", "1899-12-31 10:00"}, QStringList{"holidays"},
        QStringList{"holidays", "1899"}, QStringList{"holidays", "2201"},
        QStringList{"holidays", "20x6"}, QStringList{"holidays", "-2026"},
        QStringList{"holidays", "2026", "2025"}, QStringList{"holidays", "2026", "2027", "2028"},
        QStringList{"holidays", "99999999999999999999"},
        QStringList{"holidays", "2026", "--json"}));

} // namespace
