// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/Ledger.h"

#include "engine/Clock.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace {

// Each step brings the schema from the version before it; a step is never changed once shipped.
const QList<QStringList>& migrationSteps()
{
    static const QList<QStringList> steps = {
        // 1: the day, its schedule, time, pay, slacking total and end-of-day answer.
        {QStringLiteral("CREATE TABLE days ("
                        " day TEXT PRIMARY KEY NOT NULL,"
                        " kind TEXT NOT NULL,"
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
                        " slack_sec REAL NOT NULL DEFAULT 0,"
                        " eod_choice TEXT,"
                        " ran INTEGER NOT NULL DEFAULT 1,"
                        " final INTEGER NOT NULL DEFAULT 0,"
                        " updated_at REAL NOT NULL DEFAULT 0)")},
        // 2: slacking by reason and its top targets; NULL where a day was not measured that way.
        {QStringLiteral("ALTER TABLE days ADD COLUMN slack_away_screen_sec REAL"),
         QStringLiteral("ALTER TABLE days ADD COLUMN slack_idle_sec REAL"),
         QStringLiteral("ALTER TABLE days ADD COLUMN slack_app_sec REAL"),
         QStringLiteral("ALTER TABLE days ADD COLUMN slack_site_sec REAL"),
         QStringLiteral("ALTER TABLE days ADD COLUMN slack_system_sleep_sec REAL"),
         QStringLiteral("ALTER TABLE days ADD COLUMN top_targets TEXT")},
    };
    return steps;
}

const QStringList kBaseColumns = {
    QStringLiteral("day"),
    QStringLiteral("kind"),
    QStringLiteral("work_start"),
    QStringLiteral("work_end"),
    QStringLiteral("lunch_start"),
    QStringLiteral("lunch_end"),
    QStringLiteral("worked_min"),
    QStringLiteral("overtime_min"),
    QStringLiteral("overtime_night_min"),
    QStringLiteral("dinner_min"),
    QStringLiteral("earned_won"),
    QStringLiteral("overtime_won"),
    QStringLiteral("hourly_won"),
    QStringLiteral("hourly_legal_won"),
    QStringLiteral("slack_sec"),
    QStringLiteral("eod_choice"),
    QStringLiteral("ran"),
    QStringLiteral("final"),
    QStringLiteral("updated_at"),
};

QString reasonColumn(const QString& reason)
{
    return QStringLiteral("slack_") + reason + QStringLiteral("_sec");
}

QStringList writtenColumns()
{
    QStringList columns = kBaseColumns;
    columns.removeOne(QStringLiteral("final"));
    for (const QString& reason : slackReasons())
        columns.append(reasonColumn(reason));
    columns.append(QStringLiteral("top_targets"));
    return columns;
}

// Figures read back are outside values: a row edited by hand or by another program may hold
// anything SQLite stores. What is not a finite number reads as 0, the rest stays within a range
// that every sum and rounding of them can hold (no day earns or lasts 10^15 of anything).
double storedFigure(const QVariant& value)
{
    constexpr double kLargest = 1e15;
    const double d = value.toDouble();
    return std::isfinite(d) ? std::clamp(d, -kLargest, kLargest) : 0.0;
}

QString targetsJson(const QList<SlackTarget>& targets)
{
    if (targets.isEmpty())
        return {};
    QJsonArray array;
    for (const SlackTarget& t : targets)
        array.append(
            QJsonObject{{QStringLiteral("label"), t.label}, {QStringLiteral("sec"), t.seconds}});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

QList<SlackTarget> targetsFromJson(const QString& text)
{
    QList<SlackTarget> targets;
    const QJsonArray array = QJsonDocument::fromJson(text.toUtf8()).array();
    for (const QJsonValue& v : array) {
        const QJsonObject o = v.toObject();
        targets.append({o.value(QStringLiteral("label")).toString(),
                        storedFigure(o.value(QStringLiteral("sec")).toVariant())});
    }
    return targets;
}

QAtomicInt g_connections;

} // namespace

QString Ledger::standardPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tockwork/days.sqlite");
}

Ledger::Ledger(const QString& path, Access access)
    : path_(path), access_(access),
      connection_(QStringLiteral("tockwork-ledger-") +
                  QString::number(g_connections.fetchAndAddRelaxed(1)))
{
    open();
}

bool Ledger::open()
{
    if (open_)
        return true;
    if (openConnection() || !unreadable_ || access_ != Access::readWrite)
        return open_;
    setAside();
    return open_;
}

void Ledger::setAside()
{
    // A file that cannot serve as the ledger would stop every day from being kept: it is set
    // aside with its journal, not deleted, and a new ledger starts.
    closeConnection();
    const QString aside = path_ + QStringLiteral(".bad-") +
                          Clock::nowLocal().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString reason = error_;
    if (!QFile::rename(path_, aside)) {
        qWarning("tockwork: the day ledger %s cannot be used (%s) and could not be moved aside; "
                 "days are not kept until it can",
                 qPrintable(path_), qPrintable(reason));
        return;
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        const QString journal = path_ + QLatin1String(suffix);
        if (QFile::exists(journal) && !QFile::rename(journal, aside + QLatin1String(suffix)))
            QFile::remove(journal);
    }
    qWarning("tockwork: the day ledger %s cannot be used (%s); it is kept as %s and a new one "
             "starts",
             qPrintable(path_), qPrintable(reason), qPrintable(aside));
    openConnection();
}

void Ledger::closeConnection()
{
    upsertQuery_.reset();
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (db.isValid())
        db.close();
}

bool Ledger::failSql(const QString& what, const QSqlError& error)
{
    // The driver reports SQLite's own result code; the low byte is the primary code.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    constexpr int kBusy = 5, kLocked = 6, kCorrupt = 11, kNotADatabase = 26;
    busy_ = code == kBusy || code == kLocked;
    if (code == kCorrupt || code == kNotADatabase)
        unreadable_ = true;
    return fail(what, error.text());
}

bool Ledger::soundLocked(QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA integrity_check")))
        return failSql(QStringLiteral("cannot check"), q.lastError());
    if (!q.next() || q.value(0).toString() != u"ok") {
        unreadable_ = true;
        return fail(QStringLiteral("damaged"), q.value(0).toString());
    }
    if (version_ == 0) {
        q.finish();
        if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                   "name NOT LIKE 'sqlite_%'")) ||
            !q.next())
            return failSql(QStringLiteral("cannot read"), q.lastError());
        if (q.value(0).toInt() > 0) {
            unreadable_ = true;
            return fail(QStringLiteral("not a day ledger"),
                        QStringLiteral("tables of another kind"));
        }
    }
    return true;
}

Ledger::~Ledger()
{
    upsertQuery_.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

bool Ledger::fail(const QString& what, const QString& detail)
{
    error_ = what + QStringLiteral(": ") + detail;
    return false;
}

bool Ledger::openConnection()
{
    open_ = false;
    unreadable_ = false;
    busy_ = false;
    closeConnection();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return fail(QStringLiteral("no SQLite driver"),
                    QStringLiteral("install Qt's SQLite plugin (libqt6sql6-sqlite)"));
    const bool readOnly = access_ == Access::readOnly;
    if (readOnly && !QFileInfo::exists(path_))
        return fail(QStringLiteral("no ledger"), path_);
    if (!readOnly && !QDir().mkpath(QFileInfo(path_).absolutePath()))
        return fail(QStringLiteral("cannot create the folder of"), path_);

    QSqlDatabase db = QSqlDatabase::contains(connection_)
                          ? QSqlDatabase::database(connection_, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path_);
    // A reader waits a little for a checkpoint rather than failing; the writer's statements are
    // small enough that it never waits long. Another program holding the file longer (a sqlite3
    // shell, a backup) makes the open fail as busy, to be tried again later.
    db.setConnectOptions(readOnly
                             ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000")
                             : QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open())
        return failSql(QStringLiteral("cannot open"), db.lastError());

    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return failSql(QStringLiteral("cannot read"), q.lastError());
    version_ = q.value(0).toInt();
    q.finish();
    if (!readOnly) {
        if (!soundLocked(db))
            return false;
        // WAL: readers and the writer never block each other, and a commit is one append.
        // FULL: a committed minute survives a power cut, not only a crash of the process.
        if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
            !q.exec(QStringLiteral("PRAGMA synchronous=FULL")))
            return failSql(QStringLiteral("cannot set up"), q.lastError());
        if (!migrate())
            return false;
    }
    open_ = true;
    return true;
}

bool Ledger::migrate()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    const QList<QStringList>& steps = migrationSteps();
    if (version_ > steps.size())
        return fail(
            QStringLiteral("written by a newer version"),
            QStringLiteral("schema %1, this version knows %2").arg(version_).arg(steps.size()));
    if (version_ == steps.size())
        return true;
    if (!db.transaction())
        return fail(QStringLiteral("cannot migrate"), db.lastError().text());
    QSqlQuery q(db);
    for (int v = version_; v < steps.size(); ++v) {
        for (const QString& statement : steps[v]) {
            if (!q.exec(statement)) {
                const QString detail = q.lastError().text();
                db.rollback();
                return fail(QStringLiteral("cannot migrate to schema %1").arg(v + 1), detail);
            }
        }
    }
    if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(steps.size())) || !db.commit()) {
        const QString detail = q.lastError().text() + db.lastError().text();
        db.rollback();
        return fail(QStringLiteral("cannot migrate"), detail);
    }
    version_ = steps.size();
    return true;
}

bool Ledger::failWrite(const QSqlError& error)
{
    failSql(QStringLiteral("cannot write"), error);
    // A page found damaged while writing: the next open() checks the file and sets it aside.
    if (unreadable_) {
        closeConnection();
        open_ = false;
    }
    return false;
}

bool Ledger::upsert(const DayRecord& r)
{
    if (!open_ || access_ != Access::readWrite)
        return fail(QStringLiteral("cannot write"), error_.isEmpty() ? path_ : error_);
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!upsertQuery_) {
        const QStringList columns = writtenColumns();
        QStringList updates;
        for (const QString& c : columns) {
            if (c != u"day")
                updates.append(c + QStringLiteral(" = excluded.") + c);
        }
        upsertQuery_ = std::make_unique<QSqlQuery>(db);
        const QString sql = QStringLiteral("INSERT INTO days (") + columns.join(u',') +
                            QStringLiteral(") VALUES (") +
                            QStringList(columns.size(), QStringLiteral("?")).join(u',') +
                            QStringLiteral(") ON CONFLICT(day) DO UPDATE SET ") +
                            updates.join(u',') + QStringLiteral(" WHERE days.final = 0");
        if (!upsertQuery_->prepare(sql)) {
            const QString detail = upsertQuery_->lastError().text();
            upsertQuery_.reset();
            return fail(QStringLiteral("cannot prepare"), detail);
        }
    }
    QSqlQuery& q = *upsertQuery_;
    int i = 0;
    q.bindValue(i++, r.date.toString(Qt::ISODate));
    q.bindValue(i++, dayKindName(r.kind));
    for (qint64 minutes : {r.workStart, r.workEnd, r.lunchStart, r.lunchEnd})
        q.bindValue(i++, minutes);
    for (double value : {r.workedMin, r.overtimeMin, r.overtimeNightMin, r.dinnerMin, r.earnedWon,
                         r.overtimeWon, r.hourlyWon, r.hourlyLegalWon, r.slackSec})
        q.bindValue(i++, value);
    q.bindValue(i++, r.eodChoice.isEmpty() ? QVariant() : QVariant(r.eodChoice));
    q.bindValue(i++, r.ran ? 1 : 0);
    q.bindValue(i++, r.updatedAt);
    for (const QString& reason : slackReasons()) {
        const auto it = r.slackByReason.constFind(reason);
        q.bindValue(i++, it == r.slackByReason.cend() ? QVariant() : QVariant(*it));
    }
    const QString targets = targetsJson(r.topTargets);
    q.bindValue(i++, targets.isEmpty() ? QVariant() : QVariant(targets));

    const bool newDay = r.date != lastDayWritten_;
    if (!db.transaction())
        return fail(QStringLiteral("cannot write"), db.lastError().text());
    if (!q.exec()) {
        const QSqlError error = q.lastError();
        db.rollback();
        return failWrite(error);
    }
    if (newDay) {
        QSqlQuery finalize(db);
        finalize.prepare(QStringLiteral("UPDATE days SET final = 1 WHERE day < ? AND final = 0"));
        finalize.addBindValue(r.date.toString(Qt::ISODate));
        if (!finalize.exec()) {
            const QString detail = finalize.lastError().text();
            db.rollback();
            return fail(QStringLiteral("cannot write"), detail);
        }
    }
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        db.rollback();
        return failWrite(error);
    }
    lastDayWritten_ = r.date;
    return true;
}

QString Ledger::selectColumns() const
{
    QStringList columns = kBaseColumns;
    // An older file read by the companion lacks the later columns: they read as not measured.
    for (const QString& reason : slackReasons())
        columns.append(version_ >= 2 ? reasonColumn(reason) : QStringLiteral("NULL"));
    columns.append(version_ >= 2 ? QStringLiteral("top_targets") : QStringLiteral("NULL"));
    return columns.join(u',');
}

QList<DayRecord> Ledger::range(const QDate& from, const QDate& to)
{
    QList<DayRecord> rows;
    if (!open_ || version_ < 1)
        return rows;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT ") + selectColumns() +
              QStringLiteral(" FROM days WHERE day >= ? AND day <= ? ORDER BY day"));
    q.addBindValue(from.toString(Qt::ISODate));
    q.addBindValue(to.toString(Qt::ISODate));
    if (!q.exec()) {
        fail(QStringLiteral("cannot read"), q.lastError().text());
        return rows;
    }
    while (q.next()) {
        DayRecord r;
        int i = 0;
        r.date = QDate::fromString(q.value(i++).toString(), Qt::ISODate);
        r.kind = dayKindFromName(q.value(i++).toString()).value_or(DayKind::unknown);
        for (qint64* minutes : {&r.workStart, &r.workEnd, &r.lunchStart, &r.lunchEnd})
            *minutes = q.value(i++).toLongLong();
        for (double* value :
             {&r.workedMin, &r.overtimeMin, &r.overtimeNightMin, &r.dinnerMin, &r.earnedWon,
              &r.overtimeWon, &r.hourlyWon, &r.hourlyLegalWon, &r.slackSec})
            *value = storedFigure(q.value(i++));
        const QVariant eod = q.value(i++);
        r.eodChoice = eod.isNull() ? QString() : eod.toString();
        r.ran = q.value(i++).toInt() != 0;
        r.final = q.value(i++).toInt() != 0;
        r.updatedAt = storedFigure(q.value(i++));
        for (const QString& reason : slackReasons()) {
            const QVariant v = q.value(i++);
            if (!v.isNull())
                r.slackByReason.insert(reason, storedFigure(v));
        }
        const QVariant targets = q.value(i++);
        if (!targets.isNull())
            r.topTargets = targetsFromJson(targets.toString());
        if (r.date.isValid())
            rows.append(r);
    }
    return rows;
}

std::optional<DayRecord> Ledger::day(const QDate& date)
{
    const QList<DayRecord> rows = range(date, date);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}
