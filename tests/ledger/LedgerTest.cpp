// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/Ledger.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

DayRecord sampleDay(const QDate& date, double workedMin)
{
    DayRecord r;
    r.date = date;
    r.kind = DayKind::working;
    r.workStart = 540;
    r.workEnd = 1080;
    r.lunchStart = 720;
    r.lunchEnd = 780;
    r.workedMin = workedMin;
    r.overtimeMin = 70;
    r.overtimeNightMin = 10;
    r.dinnerMin = 30;
    r.earnedWon = 142857.14;
    r.overtimeWon = 31609.2;
    r.hourlyWon = 17857.14;
    r.hourlyLegalWon = 17241.38;
    r.slackSec = 1500;
    r.eodChoice = QStringLiteral("left");
    r.updatedAt = 1.8e9;
    return r;
}

// Runs one statement on the file through a connection of its own, as another program would.
QVariant rawValue(const QString& path, const QString& sql)
{
    QVariant value;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        if (q.next())
            value = q.value(0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return value;
}

void rawExec(const QString& path, const QStringList& statements)
{
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString& sql : statements)
            ASSERT_TRUE(q.exec(sql)) << sql.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

class LedgerTest : public testing::Test
{
protected:
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tockwork/days.sqlite"));
    const QDate monday{2026, 12, 7};
};

TEST_F(LedgerTest, WritesTodayOverAndMakesEarlierDaysFinal)
{
    Ledger ledger(path, Ledger::Access::readWrite);
    ASSERT_TRUE(ledger.isOpen()) << ledger.errorText().toStdString();
    EXPECT_EQ(ledger.schemaVersion(), Ledger::kSchemaVersion);
    EXPECT_EQ(rawValue(path, QStringLiteral("PRAGMA journal_mode")).toString(), "wal");

    DayRecord monday1 = sampleDay(monday, 100);
    monday1.slackByReason = {{QStringLiteral("idle"), 600}, {QStringLiteral("site"), 900}};
    monday1.topTargets = {{QStringLiteral("유튜브, 쇼츠"), 700}, {QStringLiteral("idle"), 600}};
    ASSERT_TRUE(ledger.upsert(monday1));
    DayRecord monday2 = sampleDay(monday, 200); // a minute later: the same row, newer figures
    monday2.eodChoice.clear();
    ASSERT_TRUE(ledger.upsert(monday2));
    EXPECT_EQ(ledger.day(monday), monday2);

    ASSERT_TRUE(ledger.upsert(sampleDay(monday.addDays(1), 50)));
    const QList<DayRecord> rows = ledger.range(monday.addDays(-3), monday.addDays(3));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].final);
    EXPECT_FALSE(rows[1].final);
    // A clock set back must not rewrite a finished day.
    ASSERT_TRUE(ledger.upsert(sampleDay(monday, 1)));
    EXPECT_DOUBLE_EQ(ledger.day(monday)->workedMin, 200);

    monday1.final = false;
    ASSERT_TRUE(ledger.upsert(sampleDay(monday.addDays(7), 0)));
    Ledger reopened(path, Ledger::Access::readWrite);
    EXPECT_EQ(reopened.range(monday.addDays(7), monday.addDays(7)).size(), 1);
}

// A file written by the first version keeps its rows; the new columns read as not measured.
TEST_F(LedgerTest, MigratesAFirstVersionFileKeepingItsRows)
{
    QDir().mkpath(dir.filePath(QStringLiteral("tockwork")));
    rawExec(path,
            {QStringLiteral("CREATE TABLE days ("
                            " day TEXT PRIMARY KEY NOT NULL, kind TEXT NOT NULL,"
                            " work_start INTEGER NOT NULL, work_end INTEGER NOT NULL,"
                            " lunch_start INTEGER NOT NULL, lunch_end INTEGER NOT NULL,"
                            " worked_min REAL NOT NULL DEFAULT 0,"
                            " overtime_min REAL NOT NULL DEFAULT 0,"
                            " overtime_night_min REAL NOT NULL DEFAULT 0,"
                            " dinner_min REAL NOT NULL DEFAULT 0,"
                            " earned_won REAL NOT NULL DEFAULT 0,"
                            " overtime_won REAL NOT NULL DEFAULT 0,"
                            " hourly_won REAL NOT NULL DEFAULT 0,"
                            " hourly_legal_won REAL NOT NULL DEFAULT 0,"
                            " slack_sec REAL NOT NULL DEFAULT 0, eod_choice TEXT,"
                            " ran INTEGER NOT NULL DEFAULT 1, final INTEGER NOT NULL DEFAULT 0,"
                            " updated_at REAL NOT NULL DEFAULT 0)"),
             QStringLiteral("INSERT INTO days (day, kind, work_start, work_end, lunch_start, "
                            "lunch_end, worked_min, earned_won, slack_sec, final) VALUES "
                            "('2026-12-04', 'working', 540, 1080, 720, 780, 480, 142857, 60, 1)"),
             QStringLiteral("PRAGMA user_version = 1")});

    {
        Ledger reader(path, Ledger::Access::readOnly); // reads the old shape, changes nothing
        ASSERT_EQ(reader.range(monday.addDays(-3), monday.addDays(-3)).size(), 1);
        EXPECT_EQ(reader.schemaVersion(), 1);
    }
    Ledger ledger(path, Ledger::Access::readWrite);
    ASSERT_TRUE(ledger.isOpen()) << ledger.errorText().toStdString();
    EXPECT_EQ(ledger.schemaVersion(), 2);
    EXPECT_EQ(rawValue(path, QStringLiteral("PRAGMA user_version")).toInt(), 2);
    const std::optional<DayRecord> friday = ledger.day(monday.addDays(-3));
    ASSERT_TRUE(friday);
    EXPECT_DOUBLE_EQ(friday->workedMin, 480);
    EXPECT_DOUBLE_EQ(friday->earnedWon, 142857);
    EXPECT_TRUE(friday->final);
    EXPECT_TRUE(friday->slackByReason.isEmpty());
    EXPECT_TRUE(ledger.upsert(sampleDay(monday, 10)));
}

TEST_F(LedgerTest, NewerFilesAreLeftAloneAndUnreadableOnesSetAside)
{
    {
        Ledger first(path, Ledger::Access::readWrite);
        ASSERT_TRUE(first.upsert(sampleDay(monday, 480)));
    }
    rawExec(path, {QStringLiteral("PRAGMA user_version = 99")});
    {
        Ledger newer(path, Ledger::Access::readWrite);
        EXPECT_FALSE(newer.isOpen());
        EXPECT_FALSE(newer.upsert(sampleDay(monday, 1)));
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_TRUE(newer.errorText().contains(QStringLiteral("newer")));
    }
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("tockwork"))).entryList({"*.bad-*"}).size(), 0);

    const QString garbagePath = dir.filePath(QStringLiteral("garbage.sqlite"));
    QFile garbage(garbagePath);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(8192, 'x'));
    garbage.close();
    Ledger fresh(garbagePath, Ledger::Access::readWrite);
    ASSERT_TRUE(fresh.isOpen()) << fresh.errorText().toStdString();
    EXPECT_TRUE(fresh.upsert(sampleDay(monday, 480)));
    const QStringList aside = QDir(dir.path()).entryList({"garbage.sqlite.bad-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(QFileInfo(dir.filePath(aside[0])).size(), 8192);

    Ledger absent(dir.filePath(QStringLiteral("none.sqlite")), Ledger::Access::readOnly);
    EXPECT_FALSE(absent.isOpen());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.sqlite"))));
}

TEST_F(LedgerTest, ReaderSeesWhatTheWriterCommittedWhileItWrites)
{
    Ledger writer(path, Ledger::Access::readWrite);
    ASSERT_TRUE(writer.upsert(sampleDay(monday, 1)));
    Ledger reader(path, Ledger::Access::readOnly);
    ASSERT_TRUE(reader.isOpen()) << reader.errorText().toStdString();
    for (double minutes : {2.0, 3.0, 4.0}) {
        ASSERT_TRUE(writer.upsert(sampleDay(monday, minutes)));
        EXPECT_DOUBLE_EQ(reader.day(monday).value_or(DayRecord{}).workedMin, minutes);
    }
    EXPECT_FALSE(reader.upsert(sampleDay(monday, 5)));
}

// A process killed in the middle of its writes: what it committed is there, the file is sound.
TEST_F(LedgerTest, KilledWriterLosesNothingCommittedAndLeavesASoundFile)
{
    {
        Ledger create(path, Ledger::Access::readWrite);
    }
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        Ledger ledger(path, Ledger::Access::readWrite);
        // Each committed minute is reported; the writes go on until the kill.
        for (int minute = 1;; ++minute) {
            if (!ledger.upsert(sampleDay(QDate(2026, 12, 7), minute)))
                _exit(3);
            const char byte = 1;
            if (write(ready[1], &byte, 1) != 1)
                _exit(4);
        }
    }
    close(ready[1]);
    int committed = 0;
    char byte = 0;
    while (committed < 25 && read(ready[0], &byte, 1) == 1)
        ++committed;
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(rawValue(path, QStringLiteral("PRAGMA integrity_check")).toString(), "ok");
    Ledger after(path, Ledger::Access::readWrite);
    ASSERT_TRUE(after.isOpen()) << after.errorText().toStdString();
    EXPECT_GE(after.day(QDate(2026, 12, 7)).value_or(DayRecord{}).workedMin, committed);
}

// Another program holding the file (a sqlite3 shell, a backup) is waited for and tried again;
// only a file that is not a sound ledger of ours is set aside, and a new one starts.
TEST_F(LedgerTest, ABusyLedgerIsRetriedAndOnlyADamagedOneIsSetAside)
{
    {
        Ledger first(path, Ledger::Access::readWrite);
        for (int d = 0; d < 5; ++d)
            ASSERT_TRUE(first.upsert(sampleDay(monday.addDays(d), 480)));
    }
    const auto asideFiles = [this] {
        return QDir(QFileInfo(path).path()).entryList({QStringLiteral("*.bad-*")});
    };
    {
        QSqlDatabase holder =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        holder.setDatabaseName(path);
        ASSERT_TRUE(holder.open());
        QSqlQuery q(holder);
        for (const char* sql :
             {"PRAGMA locking_mode=EXCLUSIVE", "BEGIN EXCLUSIVE", "SELECT count(*) FROM days"})
            ASSERT_TRUE(q.exec(QString::fromLatin1(sql))) << sql;
        Ledger blocked(path, Ledger::Access::readWrite);
        EXPECT_FALSE(blocked.isOpen());
        EXPECT_TRUE(blocked.busy()) << blocked.errorText().toStdString();
        EXPECT_TRUE(asideFiles().isEmpty());
        q.finish();
        ASSERT_TRUE(q.exec(QStringLiteral("COMMIT")));
        holder.close();
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        EXPECT_TRUE(blocked.open()) << blocked.errorText().toStdString();
        EXPECT_EQ(blocked.range(monday, monday.addDays(6)).size(), 5);
    }
    EXPECT_TRUE(asideFiles().isEmpty());

    // A sound header over a damaged page opens, but integrity_check rejects it.
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_GT(file.size(), 2 * 4096);
        file.seek(4096);
        file.write(QByteArray(4096, '\x5a'));
    }
    Ledger damaged(path, Ledger::Access::readWrite);
    ASSERT_TRUE(damaged.isOpen()) << damaged.errorText().toStdString();
    EXPECT_TRUE(damaged.range(monday, monday.addDays(6)).isEmpty());
    EXPECT_TRUE(damaged.upsert(sampleDay(monday, 1)));
    EXPECT_EQ(asideFiles().size(), 1);

    // Another program's database at our path is not taken over either.
    const QString other = dir.filePath(QStringLiteral("other.sqlite"));
    rawExec(other, {QStringLiteral("CREATE TABLE notes (text TEXT)")});
    Ledger foreign(other, Ledger::Access::readWrite);
    EXPECT_TRUE(foreign.isOpen());
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("other.sqlite.bad-*")}).size(), 1);
}

} // namespace
