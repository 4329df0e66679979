// `tockwork-cli history` run the way a user runs it, against a ledger written by the library.

#include "ledger/Ledger.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out, err;
};

class HistoryCli : public testing::Test
{
protected:
    void SetUp() override
    {
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("TZ"), QStringLiteral("Asia/Seoul"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    }
    QString ledgerPath() const
    {
        return home.filePath(QStringLiteral("data/tockwork/days.sqlite"));
    }

    CliRun run(const QStringList& args) const
    {
        QProcess cli;
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(TOCKWORK_CLI), args);
        EXPECT_TRUE(cli.waitForFinished(30000));
        return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
                QString::fromUtf8(cli.readAllStandardOutput()),
                QString::fromUtf8(cli.readAllStandardError())};
    }

    // Monday 30 November to Friday 4 December 2026, Wednesday missing (the app did not run).
    void writeWeek(Ledger& ledger) const
    {
        const QDate monday(2026, 11, 30);
        for (int d : {0, 1, 3, 4}) {
            DayRecord r;
            r.date = monday.addDays(d);
            r.kind = d == 3 ? DayKind::halfDayPm : DayKind::working;
            r.workStart = 540;
            r.workEnd = 1080;
            r.lunchStart = 720;
            r.lunchEnd = 780;
            r.workedMin = d == 3 ? 180 : 480;
            r.earnedWon = 150000;
            r.hourlyWon = 18750;
            r.hourlyLegalWon = 17241.38;
            r.overtimeMin = d == 1 ? 190 : 0;
            r.overtimeWon = d == 1 ? 81896.55 : 0;
            r.slackSec = 1800 + 600 * d;
            r.eodChoice = d == 1 ? QStringLiteral("left") : QString();
            if (d == 4)
                r.topTargets = {{QStringLiteral("유튜브, \"쇼츠\""), 900}};
            ASSERT_TRUE(ledger.upsert(r));
        }
    }

    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
};

TEST_F(HistoryCli, TableCsvAndJsonCarryTheSameDaysAndTotals)
{
    Ledger writer(ledgerPath(), Ledger::Access::readWrite); // stays open, as the app keeps it
    writeWeek(writer);
    const QStringList range = {"history", "--from", "2026-11-30", "--to", "2026-12-06"};

    const CliRun table = run(range);
    ASSERT_EQ(table.exitCode, 0) << table.err.toStdString();
    const QStringList lines = table.out.split(u'\n');
    EXPECT_TRUE(table.out.contains(QStringLiteral("2026-12-02 (수)  -\n"))) << "a gap";
    EXPECT_TRUE(table.out.contains(QStringLiteral("2026-12-03 (목)  오후 반차")));
    // 4 x 150,000 + 81,897; 3 hours 10 minutes; 3 hours 20 minutes of slacking = 62,500 won, 10%.
    EXPECT_TRUE(table.out.contains(
        QStringLiteral("기간 합계 681,897원 · 야근 3시간 10분 · 월루 3시간 20분 (10%)")))
        << table.out.toStdString();

    const CliRun csv = run(range + QStringList{"--csv"});
    ASSERT_EQ(csv.exitCode, 0);
    const QStringList rows = csv.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 5); // header and four days
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("date,kind,work_start,")));
    EXPECT_TRUE(rows[2].startsWith(QStringLiteral("2026-12-01,working,09:00,18:00,12:00,13:00,"
                                                  "480.00,190.00,")));
    EXPECT_TRUE(rows[4].contains(QStringLiteral(",\"유튜브, \"\"쇼츠\"\" 15분\",")))
        << rows[4].toStdString();

    const CliRun json = run(range + QStringList{"--json"});
    ASSERT_EQ(json.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(o["days"].toArray().size(), 4);
    const QJsonObject totals = o["totals"].toObject();
    EXPECT_NEAR(totals["totalWon"].toDouble(), 681896.55, 1e-6);
    EXPECT_DOUBLE_EQ(totals["overtimeMin"].toDouble(), 190);
    EXPECT_EQ(totals["slackPercent"].toInt(), 10);
    EXPECT_EQ(o["days"].toArray()[2].toObject()["kind"].toString(), "half_pm");
}

TEST_F(HistoryCli, WithoutALedgerItSaysSoAndCreatesNothing)
{
    const CliRun week = run({"history", "--week"});
    EXPECT_EQ(week.exitCode, 0);
    EXPECT_TRUE(week.out.contains(QStringLiteral("아직 기록이 없어요")));
    EXPECT_EQ(run({"history", "--month", "--csv"}).out.count(QStringLiteral("\r\n")), 1);
    EXPECT_FALSE(QDir(home.filePath(QStringLiteral("data"))).exists());

    for (const QStringList& bad :
         {QStringList{"history", "--from", "2026-12-01"},
          {"history", "--week", "--month"},
          {"history", "--from", "2026-12-05", "--to", "2026-12-01"},
          {"history", "--csv", "--json"},
          {"history", "--week", "--from", "2026-12-01", "--to", "2026-12-02"},
          {"history", "yesterday"}})
        EXPECT_EQ(run(bad).exitCode, 2) << bad.join(' ').toStdString();
}

} // namespace
