// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ledger/DayRecord.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

// The day ledger: an SQLite file with one row per day, written ahead (WAL) so that a reader never
// waits for the writer and a crash never leaves half a row. The schema carries its version and
// older files are brought forward when the writer opens them. Not thread-safe: one object per
// thread.
class Ledger final
{
public:
    enum class Access
    {
        readWrite, // the application: creates the file and brings its schema up to date
        readOnly   // the companion: never creates, migrates or writes anything
    };

    static constexpr int kSchemaVersion = 2;

    // $XDG_DATA_HOME/tockwork/days.sqlite (~/.local/share/tockwork/days.sqlite).
    static QString standardPath();

    Ledger(const QString& path, Access access);
    ~Ledger();
    Ledger(const Ledger&) = delete;
    Ledger& operator=(const Ledger&) = delete;

    bool isOpen() const { return open_; }
    // Tries again to open a ledger that could not be opened (another process held it, the folder
    // was read-only, the file was damaged); true once it is open. A file that is not a sound
    // SQLite ledger of ours is set aside first, never deleted, and a new one starts.
    bool open();
    // The last failure was a lock another process holds ("database is locked"): worth retrying.
    bool busy() const { return busy_; }
    // Why the ledger could not be opened or the last operation failed, for a message.
    QString errorText() const { return error_; }
    int schemaVersion() const { return version_; }

    // Writes the day's row unless that day is already final, and makes every earlier day final.
    bool upsert(const DayRecord& record);
    std::optional<DayRecord> day(const QDate& date);
    // Rows from `from` to `to`, both included, in date order; days without a row are gaps.
    QList<DayRecord> range(const QDate& from, const QDate& to);

private:
    bool openConnection();
    void closeConnection();
    bool migrate();
    bool fail(const QString& what, const QString& detail);
    // fail() for an SQLite error: tells a lock from a damaged file.
    bool failSql(const QString& what, const QSqlError& error);
    bool failWrite(const QSqlError& error);
    // Whether the open file is an SQLite ledger this program can use (integrity_check passes,
    // and a file without a schema version holds no tables but ours).
    bool soundLocked(QSqlDatabase& db);
    void setAside();
    QString selectColumns() const;

    QString path_;
    Access access_;
    QString connection_;
    bool open_ = false;
    bool unreadable_ = false; // not a sound SQLite ledger of ours: set aside by the writer
    bool busy_ = false;       // another process holds a lock on it
    int version_ = 0;
    QString error_;
    QDate lastDayWritten_; // earlier days were made final when this one was first written
    std::unique_ptr<QSqlQuery> upsertQuery_;
};
