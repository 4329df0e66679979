#pragma once

#include "Cfg.h"
#include "Clock.h"
#include "Store.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>

// Sets the process time zone for the life of the object (local time follows TZ).
class ScopedTimeZone final
{
public:
    explicit ScopedTimeZone(const char* zone)
        : hadZone_(qEnvironmentVariableIsSet("TZ")), oldZone_(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (hadZone_)
            qputenv("TZ", oldZone_);
        else
            qunsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    bool hadZone_;
    QByteArray oldZone_;
};

// Each test: Seoul time, its own store file in a temporary folder, a frozen clock.
class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        Store::openStandardAt(storePath());
        Store::standard().setReadOnly(false);
        Cfg::clearMonthCache();
        freezeAt(2026, 3, 10, 9, 0);
    }
    void TearDown() override { Clock::unfreeze(); }

    QString storePath() const { return dir_.filePath(QStringLiteral("tockwork.conf")); }

    // Writes `contents` as the store file and opens the standard store on it.
    void openFile(const QByteArray& contents)
    {
        QFile file(dir_.filePath(QStringLiteral("hand.conf")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        Store::openStandardAt(file.fileName());
    }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static double at(int y, int mo, int d, int h, int mi, int s = 0)
    {
        return Clock::toEpoch(QDateTime(QDate(y, mo, d), QTime(h, mi, s)));
    }
    static void freezeAt(int y, int mo, int d, int h, int mi, int s = 0)
    {
        Clock::freeze(at(y, mo, d, h, mi, s));
    }

    ScopedTimeZone zone_{"Asia/Seoul"};
    QTemporaryDir dir_;
};
