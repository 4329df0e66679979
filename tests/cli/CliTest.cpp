// SPDX-License-Identifier: GPL-3.0-or-later
// End to end: the built companion is run the way a user, a script or a status bar runs it.

#include "engine/Store.h"
#include "ledger/Ledger.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <csignal>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

// 3,000,000 won a month; March 2026 has 21 working days (1 March falls on a Sunday, so
// 2 March is a substitute holiday): 17,857.14 won an hour.
const QByteArray kStore = "[General]\nmonthlySalaryWon=3000000\nwolluApps=유튜브,레딧\n"
                          "wolluDay=2026-3-10\nwolluSec=2820\npauseDay=2026-3-10\n"
                          "dinnerDay=2026-3-10\n";

struct CliResult
{
    int exitCode = -1; // -1 also when it crashed
    QByteArray out, err;
};

// A home of its own for every test with the settings where the application keeps them, and a C
// locale so that UTF-8 output cannot come from the environment. Children inherit all of it.
class Cli : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        for (const auto& [name, value] : {std::pair{"HOME", home.path()},
                                          {"XDG_CONFIG_HOME", config},
                                          {"TZ", QString("Asia/Seoul")},
                                          {"LC_ALL", QString("C")}})
            qputenv(name, value.toUtf8());
        QDir().mkpath(QFileInfo(store).path());
        QFile file(store);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kStore);
    }

    static CliResult run(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral(TOCKWORK_CLI), arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << "tockwork-cli did not finish";
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    static QJsonObject json(const QStringList& arguments)
    {
        const CliResult r = run(arguments);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out.count('\n'), 1) << "one line for a status bar";
        return QJsonDocument::fromJson(r.out).object();
    }

    // Bytes, modification time and the folder's entries: a lock or temporary file left behind
    // counts as touching the store too.
    std::tuple<QByteArray, long long, QStringList> snapshot() const
    {
        QFile file(store);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        struct stat st = {};
        ::stat(QFile::encodeName(store).constData(), &st);
        return {file.readAll(), st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec,
                QDir(QFileInfo(store).path()).entryList(QDir::AllEntries | QDir::Hidden)};
    }

    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    const QString store = config + QStringLiteral("/tockwork/tockwork.conf");
};

TEST_F(Cli, JsonCarriesTheDisplayAndItsStatus)
{
    const QJsonObject o = json({"status", "--json", "--at", "2026-03-10 10:30"});
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

TEST_F(Cli, LineFollowsThePhase)
{
    EXPECT_EQ(QString::fromUtf8(run({"--line", "--at", "2026-03-10 10:30"}).out),
              "🐜 (세전)26,786원 · 6시간 30분 남음\n");
    EXPECT_EQ(QString::fromUtf8(run({"--line", "--at=2026-03-10 19:30:00"}).out),
              "🐜💦 야근 1시간 30분 · +(세전)38,793원\n");
    EXPECT_EQ(QString::fromUtf8(run({"--line", "--at", "2026-03-14 10:00"}).out), "😴 쉬는 날\n");
}

TEST_F(Cli, NeverWritesTheStoreEvenWhenTheDayRollsOver)
{
    const auto before = snapshot();
    // The 11th and the next year are new days for every record: they reset, in memory only.
    EXPECT_EQ(json({"--json", "--at", "2026-03-11 10:00"})["wolluText"].toString(),
              "아직 월루 0분, 집중 중! 🎯");
    for (const QStringList& args : {QStringList{"--line", "--at", "2027-01-04 09:30"},
                                    {"status"},
                                    {"--json"},
                                    {"holidays", "2026"}})
        EXPECT_EQ(run(args).exitCode, 0) << args.join(' ').toStdString();
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(json({"--json", "--at", "2026-03-10 10:30"})["wolluText"].toString(), "⏰ 47분 딴짓");
}

TEST_F(Cli, HolidaysListsEveryDayInOrder)
{
    const CliResult r = run({"holidays", "2025", "2026"});
    ASSERT_EQ(r.exitCode, 0);
    QStringList dates;
    for (const QString& line : QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts)) {
        EXPECT_TRUE(line.contains(QRegularExpression("^202[56]-\\d\\d-\\d\\d\\t\\S")))
            << line.toStdString();
        dates.append(line.left(10));
    }
    EXPECT_TRUE(std::is_sorted(dates.begin(), dates.end()));
    EXPECT_TRUE(r.out.startsWith("2025-01-01\t"));
    for (const char* expected : {"2026-02-16\t설날", "2026-02-18\t설날", "2026-05-01",
                                 "2026-05-24\t부처님 오신 날", "2026-05-25", "2026-07-17"})
        EXPECT_TRUE(r.out.contains(QByteArray(expected).prepend('\n'))) << expected;
}

TEST_F(Cli, BadArgumentsExitTwoWithTheReasonAndUsage)
{
    for (const QStringList& args : {QStringList{"bogus"},
                                    {"--frobnicate"},
                                    {"status", "extra"},
                                    {"--line", "--json"},
                                    {"--at"},
                                    {"--at", "2026-03-10"},
                                    {"--at", "2026-02-30 10:00"},
                                    {"--at", "2026-03-10 24:00"},
                                    {"--at", "1899-12-31 10:00"},
                                    {"holidays"},
                                    {"holidays", "2201"},
                                    {"holidays", "20x6"},
                                    {"holidays", "2026", "2025"},
                                    {"holidays", "99999999999999999999"},
                                    {"holidays", "2026", "--json"}}) {
        const CliResult r = run(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(r.err.startsWith('\n')) << "the reason comes first";
        EXPECT_TRUE(r.err.contains("사용법: tockwork-cli")) << r.err.toStdString();
    }
}

// Reads whatever the pty master has until `marker` shows up or the time runs out.
QByteArray readUntil(int fd, const QByteArray& marker, QByteArray seen = {})
{
    QElapsedTimer waited;
    waited.start();
    char buffer[4096];
    while (!seen.contains(marker) && waited.elapsed() < 10000) {
        pollfd ready = {fd, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0)
            continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break; // the child closed the terminal
        seen.append(buffer, n);
    }
    return seen;
}

TEST_F(Cli, ScreenWatchRestoresTheTerminalOnInterrupt)
{
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        ::execl(TOCKWORK_CLI, TOCKWORK_CLI, "--watch", "--at", "2026-03-10 10:30", nullptr);
        ::_exit(127);
    }
    // Two frames drawn in place, then Ctrl+C.
    QByteArray seen = readUntil(master, "\x1b[J\x1b[H", readUntil(master, "\x1b[J"));
    termios during = {}, after = {};
    ASSERT_EQ(::tcgetattr(master, &during), 0);
    ::kill(pid, SIGINT);
    seen = readUntil(master, "\x1b[?25h", seen);
    const bool haveAfter = ::tcgetattr(master, &after) == 0;
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ::close(master);

    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(seen.startsWith("\x1b[?25l")) << "cursor not hidden";
    EXPECT_TRUE(seen.endsWith("\x1b[?25h")) << "cursor not shown again at the end";
    EXPECT_TRUE(QString::fromUtf8(seen).contains("열심히 일하는 중 🐜"));
    EXPECT_FALSE(seen.contains("^C"));
    EXPECT_EQ(during.c_lflag & ECHO, 0u) << "typed keys would scribble over the frame";
    if (haveAfter) {
        EXPECT_NE(after.c_lflag & ECHO, 0u) << "echo was not switched back on";
    }
}

// The only commands that write, and they write the one entry they own; the status follows.
TEST_F(Cli, DayOffCommandsChangeOnlyTheDaysOffEntry)
{
    const auto [bytesBefore, mtimeBefore, entriesBefore] = snapshot();
    for (const QStringList& args :
         {QStringList{"dayoff", "add", "2026-03-10", "--note", "병원, 은행; 연차"},
          {"dayoff", "add", "2026-03-11", "--half", "pm"},
          {"dayoff", "add", "2026-03-12", "--half=am"},
          {"dayoff", "remove", "2026-03-12"}})
        EXPECT_EQ(run(args).exitCode, 0) << args.join(' ').toStdString();
    const auto [bytesAfter, mtimeAfter, entriesAfter] = snapshot();
    EXPECT_EQ(entriesAfter, entriesBefore);
    // The file is rewritten in key order (and a hand-written list in QSettings' own spelling); what
    // it says is the same but for the one entry.
    const auto values = [this](const QByteArray& bytes) {
        const QString path = home.filePath(QString::number(qHash(bytes)) + ".conf");
        QFile::remove(path);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QSettings settings(path, QSettings::IniFormat);
        QVariantMap map;
        for (const QString& key : settings.allKeys())
            map.insert(key, settings.value(key));
        return map;
    };
    QVariantMap after = values(bytesAfter);
    EXPECT_FALSE(after.take(QStringLiteral("daysOff")).toString().contains(u','));
    EXPECT_EQ(after, values(bytesBefore));
    EXPECT_TRUE(bytesAfter.contains("\ndaysOff=")) << bytesAfter.toStdString();

    EXPECT_EQ(QString::fromUtf8(run({"dayoff", "list"}).out),
              "2026-03-10 (화)  종일 휴가  병원, 은행; 연차\n2026-03-11 (수)  오후 반차\n");
    const QJsonObject off = json({"--json", "--at", "2026-03-10 10:30"});
    EXPECT_EQ(off["title"].toString(), "오늘은 유급 휴가 🏖️");
    EXPECT_EQ(off["earnedText"].toString(), "(세전)142,857원 벌었어요");
    EXPECT_EQ(json({"--json", "--at", "2026-03-11 12:30"})["status"].toObject()["state"].toString(),
              "done");

    const CliResult missing = run({"dayoff", "remove", "2026-03-12"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(missing.err).contains("등록된 휴가가 없어요"));
    for (const QStringList& args : {QStringList{"dayoff"},
                                    {"dayoff", "add"},
                                    {"dayoff", "add", "2026-02-30"},
                                    {"dayoff", "add", "2026-03-10", "--half", "noon"},
                                    {"dayoff", "remove", "2026-03-10", "--note", "x"},
                                    {"dayoff", "list", "2026-03-10"}})
        EXPECT_EQ(run(args).exitCode, 2) << args.join(' ').toStdString();
}

// The application and the companion write the same file. Whatever the companion wrote reaches
// the application's memory, even when the application writes before its next look at the file,
// and two companions writing at once keep each other's entries.
TEST_F(Cli, WritersOfTheSettingsFileKeepEachOthersChanges)
{
    Store app(store);
    ASSERT_EQ(run({"dayoff", "add", "2026-03-10"}).exitCode, 0);
    // The application's own write merges the companion's entry into the file ...
    app.set(QStringLiteral("workStart"), 540);
    app.flush();
    // ... and into memory, and its next look reports the change so the day is computed again.
    EXPECT_EQ(app.text(QStringLiteral("daysOff")), QStringLiteral("2026-03-10"));
    EXPECT_TRUE(app.reloadIfChanged());
    EXPECT_FALSE(app.reloadIfChanged());

    // Racing adds: unlocked, one of each pair was lost nearly every time.
    QStringList expected = {QStringLiteral("2026-03-10")};
    for (int trial = 0; trial < 6; ++trial) {
        std::array<QProcess, 2> adds;
        for (size_t i = 0; i < adds.size(); ++i) {
            const QString date =
                QDate(2026, 4, 1).addDays(trial * 2 + int(i)).toString(Qt::ISODate);
            expected.append(date);
            adds[i].start(QStringLiteral(TOCKWORK_CLI), {"dayoff", "add", date});
        }
        for (QProcess& add : adds) {
            ASSERT_TRUE(add.waitForFinished(30000));
            EXPECT_EQ(add.exitCode(), 0) << add.readAllStandardError().toStdString();
        }
    }
    const QString listed = QString::fromUtf8(run({"dayoff", "list"}).out);
    for (const QString& date : expected)
        EXPECT_TRUE(listed.contains(date)) << date.toStdString() << " lost:\n"
                                           << listed.toStdString();
    EXPECT_EQ(QDir(QFileInfo(store).path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("tockwork.conf")})
        << "no lock or temporary file is left behind";
}

// Text from the files reaches a terminal or a spreadsheet: a note or label holding terminal
// controls, NUL or bytes that are not UTF-8 is printed escaped, never as it stands.
TEST_F(Cli, NotesAndLabelsArePrintedEscapedAndUnknownKindsOfDayAsUnknown)
{
    const QString note = QStringLiteral("\x1b]0;pwned\x07\r병원\\");
    ASSERT_EQ(run({"dayoff", "add", "2026-03-10", "--note", note}).exitCode, 0);
    const QString expected = QStringLiteral("\\x1b]0;pwned\\x07\\x0d병원\\\\");
    for (const QStringList& args :
         {QStringList{"dayoff", "list"}, {"dayoff", "add", "2026-03-10", "--note", note}}) {
        const QByteArray out = run(args).out;
        EXPECT_FALSE(out.contains('\x1b') || out.contains('\x07') || out.contains('\r'))
            << out.toStdString();
        EXPECT_TRUE(QString::fromUtf8(out).contains(expected)) << out.toStdString();
    }

    // A row as another program or a newer version may leave it: a kind this version does not
    // know, a figure no day can have, a label with controls and an answer that is not UTF-8.
    const QString data = home.filePath(QStringLiteral("data"));
    qputenv("XDG_DATA_HOME", data.toUtf8());
    const QString path = data + QStringLiteral("/tockwork/days.sqlite");
    {
        Ledger ledger(path, Ledger::Access::readWrite);
        DayRecord day;
        day.date = QDate(2026, 3, 9);
        day.workedMin = 480;
        day.earnedWon = 142857;
        ASSERT_TRUE(ledger.upsert(day)) << ledger.errorText().toStdString();
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(
            QStringLiteral("UPDATE days SET kind = 'sabbatical', overtime_min = 1e308, "
                           "top_targets = '[{\"label\":\"yt\\u0000\\u001b[2J\",\"sec\":60}]', "
                           "eod_choice = CAST(X'6C65FF6674' AS TEXT)")));
    }
    QSqlDatabase::removeDatabase("raw");

    const QStringList range = {"history", "--from", "2026-03-09", "--to", "2026-03-09"};
    const CliResult table = run(range);
    ASSERT_EQ(table.exitCode, 0) << table.err.toStdString();
    const QString text = QString::fromUtf8(table.out);
    EXPECT_TRUE(text.contains(QStringLiteral("알 수 없음"))) << table.out.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("근무"))) << table.out.toStdString();
    EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("-[0-9]+(시간|분)"))))
        << table.out.toStdString();

    const CliResult csv = run(range + QStringList{"--csv"});
    ASSERT_EQ(csv.exitCode, 0);
    EXPECT_FALSE(csv.out.contains('\0') || csv.out.contains('\x1b')) << csv.out.toStdString();
    const QStringList rows = QString::fromUtf8(csv.out).split(QStringLiteral("\r\n"));
    ASSERT_GE(rows.size(), 2);
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("2026-03-09,unknown,"))) << rows[1].toStdString();
    EXPECT_TRUE(rows[1].contains(QStringLiteral("yt\\x00\\x1b[2J 1분"))) << rows[1].toStdString();
    EXPECT_TRUE(rows[1].contains(QStringLiteral(",le\\ufffdft,"))) << rows[1].toStdString();

    const CliResult json = run(range + QStringList{"--json"});
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_FALSE(json.out.contains('\0') || json.out.contains('\x1b')) << json.out.toStdString();
    const QJsonObject row =
        QJsonDocument::fromJson(json.out).object()["days"].toArray().at(0).toObject();
    EXPECT_EQ(row["kind"].toString(), "unknown");
    EXPECT_TRUE(std::isfinite(row["overtimeMin"].toDouble()));
    EXPECT_LT(row["overtimeMin"].toDouble(), 1e300);
}

} // namespace
