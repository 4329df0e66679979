#pragma once

#include "TestServer.h"

#include "Clock.h"
#include "Store.h"
#include "analytics/Analytics.h"
#include "analytics/Testing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// 2026-03-10 (a Tuesday) 17:00 in Asia/Seoul, the zone the test binary runs in.
inline constexpr double tuesdayFivePm = 1773129600.0;

// Every case starts like a fresh process: its own home, data and config folders, store file,
// frozen clock and local server; the analytics library back to its launch state.
class AnalyticsTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_DATA_HOME", (home_.path() + "/data").toUtf8());
        qputenv("XDG_CONFIG_HOME", (home_.path() + "/config").toUtf8());
        Store::openStandardAt(home_.path() + "/config/tockwork/tockwork.conf");
        Clock::freeze(tuesdayFivePm);
        Analytics::Testing::reset();
        server_ = std::make_unique<TestServer>();
        Analytics::Testing::setBaseUrl(server_->baseUrl());
        Analytics::Testing::setFlushPeriodMs(100);
    }

    void TearDown() override
    {
        Analytics::Testing::reset();
        server_.reset();
        Clock::unfreeze();
    }

    // Simulates quitting and launching again: what is in flight is dropped (as in a killed
    // process), the store and the queue file stay.
    void relaunch()
    {
        Analytics::Testing::reset();
        Analytics::Testing::setBaseUrl(server_->baseUrl());
        Analytics::Testing::setFlushPeriodMs(100);
    }

    static QString queuePath()
    {
        return qEnvironmentVariable("XDG_DATA_HOME") + "/tockwork/analytics-queue.json";
    }

    static QJsonArray queueRecords()
    {
        QFile file(queuePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).array();
    }

    static void writeQueue(const QByteArray& bytes)
    {
        QDir().mkpath(qEnvironmentVariable("XDG_DATA_HOME") + "/tockwork");
        QFile file(queuePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Runs the main thread's events (the flush timer lives there) until `done` or time-out.
    static bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(2);
        }
        return true;
    }

    // Waits without running main-thread events, so the flush timer cannot fire meanwhile.
    static bool waitWithoutTimer(const std::function<bool()>& done, int timeoutMs = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > timeoutMs)
                return false;
            QThread::msleep(5);
        }
        return true;
    }

    static bool settled()
    {
        return Analytics::Testing::inFlightCount() == 0 && Analytics::Testing::bufferedCount() == 0;
    }

    // Test events carry their sequence number so batches can be matched to what was sent.
    static void trackNumbered(int from, int count)
    {
        for (int n = from; n < from + count; ++n)
            Analytics::track(QStringLiteral("Test Event"), {{QStringLiteral("n"), n}});
    }

    static int numberOf(const QJsonValue& record)
    {
        return record.toObject()[QLatin1String("properties")].toObject()[QLatin1String("n")].toInt(
            -1);
    }

    // The form body holds nothing but letters, digits and the three escapes after "data=".
    static bool onlyBase64Escapes(const QByteArray& body)
    {
        if (!body.startsWith("data=") || body.size() == 5)
            return false;
        for (qsizetype i = 5; i < body.size(); ++i) {
            const char c = body[i];
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
                continue;
            const QByteArray escape = body.mid(i, 3);
            if (escape != "%2B" && escape != "%2F" && escape != "%3D")
                return false;
            i += 2;
        }
        return true;
    }

    static QJsonArray eventsNamed(const QJsonArray& records, const QString& name)
    {
        QJsonArray out;
        for (const QJsonValue& r : records)
            if (r.toObject()[QLatin1String("event")].toString() == name)
                out.append(r);
        return out;
    }

    QTemporaryDir home_;
    std::unique_ptr<TestServer> server_;
};
