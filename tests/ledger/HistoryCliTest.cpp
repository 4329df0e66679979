// SPDX-License-Identifier: GPL-3.0-or-later
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

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Terminal columns of `line`: Hangul, CJK and full-width forms take two.
int columnsOf(const QString& line)
{
    int width = 0;
    for (const char32_t c : line.toUcs4()) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFF00 && c <= 0xFF60) || (c >= 0x1F300 && c <= 0x1FAFF);
        width += wide ? 2 : 1;
    }
    return width;
}

int widestLine(const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, columnsOf(line));
    return widest;
}

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
    EXPECT_TRUE(table.out.contains(QStringLiteral("\n12-02 (수)  -\n"))) << "a gap";
    EXPECT_TRUE(table.out.contains(QStringLiteral("\n12-03 (목)  오후 반차")));
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

// The widest figures a salary of 100억 a month can leave in a day's row, every day of a month.
TEST_F(HistoryCli, TableFitsTheTerminalAndGivesWayColumnByColumn)
{
    {
        Ledger writer(ledgerPath(), Ledger::Access::readWrite);
        for (int d = 1; d <= 31; ++d) {
            DayRecord r;
            r.date = QDate(2026, 12, d);
            r.kind = d % 7 == 3 ? DayKind::halfDayAm : DayKind::working;
            r.workStart = 540;
            r.workEnd = 1080;
            r.lunchStart = 720;
            r.lunchEnd = 780;
            r.workedMin = 479;
            r.earnedWon = 476190476.19;
            r.hourlyWon = 59523809.52;
            r.hourlyLegalWon = 57471264.37;
            r.overtimeMin = 68;
            r.overtimeWon = 977011494.25;
            r.slackSec = 4080;
            ASSERT_TRUE(writer.upsert(r));
        }
    }
    const QStringList month = {"history", "--from", "2026-12-01", "--to", "2026-12-31"};

    // A pipe reads as an 80-column terminal: nothing wraps, no duration splits across lines.
    const CliRun piped = run(month);
    ASSERT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_LE(widestLine(piped.out), 80) << piped.out.toStdString();
    EXPECT_TRUE(piped.out.contains(QStringLiteral("476,190,476원"))) << "the pay never gives way";
    EXPECT_TRUE(piped.out.contains(QStringLiteral("1시간 8분"))) << piped.out.toStdString();
    EXPECT_TRUE(piped.out.contains(QStringLiteral("12-03 (목)"))) << "the year gave way first";
    EXPECT_FALSE(piped.out.contains(QStringLiteral("2026-12-03 (목)")));
    // The sums of a column that gave way stay in the totals.
    EXPECT_TRUE(piped.out.contains(QStringLiteral("야근 수당 30,287,356,322원")))
        << piped.out.toStdString();

    // A terminal of 50 columns keeps the date, the pay and the slacking.
    int master = -1;
    winsize size{};
    size.ws_col = 50;
    size.ws_row = 40;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, &size);
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        for (const QString& key : env.keys())
            ::setenv(key.toLocal8Bit().constData(), env.value(key).toLocal8Bit().constData(), 1);
        ::execl(TOCKWORK_CLI, TOCKWORK_CLI, "history", "--from", "2026-12-01", "--to", "2026-12-31",
                nullptr);
        ::_exit(127);
    }
    QByteArray seen;
    char buffer[4096];
    for (;;) {
        pollfd ready = {master, POLLIN, 0};
        if (::poll(&ready, 1, 10000) <= 0)
            break;
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            break; // the child closed the terminal
        seen.append(buffer, n);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ::close(master);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const QString narrow = QString::fromUtf8(seen).remove(u'\r');
    EXPECT_LE(widestLine(narrow), 50) << narrow.toStdString();
    EXPECT_TRUE(narrow.contains(QStringLiteral("476,190,476원"))) << narrow.toStdString();
    EXPECT_TRUE(narrow.contains(QStringLiteral("월루"))) << narrow.toStdString();
    EXPECT_FALSE(narrow.contains(QStringLiteral("종류"))) << narrow.toStdString();
}

} // namespace
