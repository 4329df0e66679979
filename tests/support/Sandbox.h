// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>
#include <QTime>

// What every test of code over the store and the clock needs, in one place: its own store file in
// a temporary folder, a frozen clock and a chosen time zone. Each piece undoes itself.

// Sets the process time zone for the life of the object (local time follows TZ).
class ScopedTimeZone final
{
public:
    explicit ScopedTimeZone(const char* zone);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    QByteArray old_;
};

// The clock stands still at the given local time until destroyed (or moved on with advance()).
class FrozenClock final
{
public:
    FrozenClock() = default;
    FrozenClock(QDate date, QTime time) { at(date, time); }
    explicit FrozenClock(double epochSeconds) { at(epochSeconds); }
    ~FrozenClock();
    FrozenClock(const FrozenClock&) = delete;
    FrozenClock& operator=(const FrozenClock&) = delete;

    // Freezes at that local time and returns the instant.
    double at(QDate date, QTime time);
    double at(double epochSeconds);
    static double epoch(QDate date, QTime time);
};

// The standard store re-pointed at a file in a fresh temporary folder ("tockwork.conf", or the
// place the application would use under XDG_CONFIG_HOME after useAsHome()), writable, with the
// month's cached figures forgotten.
class StoreSandbox final
{
public:
    StoreSandbox();
    ~StoreSandbox();
    StoreSandbox(const StoreSandbox&) = delete;
    StoreSandbox& operator=(const StoreSandbox&) = delete;

    QString dir() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    QString storePath() const { return filePath(storeName_); }

    // Points XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME at "config", "data" and "cache"
    // in the folder (restored on destruction) and re-opens the store where the application keeps
    // it there: config/tockwork/tockwork.conf.
    void useAsHome();

    // Writes `contents` as the file `name` in the folder and opens the standard store on it.
    void openFile(const QByteArray& contents,
                  const QString& name = QStringLiteral("tockwork.conf"));
    static QByteArray readFile(const QString& path);
    // The identity of the file on disk: a new one after every atomic replace.
    static quint64 inode(const QString& path);

private:
    QTemporaryDir dir_;
    QString storeName_ = QStringLiteral("tockwork.conf");
    QList<QPair<QByteArray, QByteArray>> savedEnvironment_;
};
