// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analytics/Analytics.h"
#include "analytics/Testing.h"

#include "Sandbox.h"
#include "TestServer.h"
#include "engine/Clock.h"
#include "engine/Store.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

// 2026-03-10 (a Tuesday) 17:00 in Asia/Seoul, the zone the test binary runs in.
inline constexpr double tuesdayFivePm = 1773129600.0;

// Every case starts like a fresh process: its own home, data and config folders, store file,
// frozen clock and local server; the analytics library back to its launch state.
class AnalyticsTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        home_.useAsHome();
        clock_.at(tuesdayFivePm);
        relaunch();
    }
    void TearDown() override { Analytics::Testing::reset(); }

    // Like quitting and launching again: what is in flight is dropped (as in a killed
    // process), the store and the queue file stay.
    void relaunch()
    {
        Analytics::Testing::reset();
        Analytics::Testing::setBaseUrl(server_->baseUrl());
        Analytics::Testing::setFlushPeriodMs(100);
    }

    QJsonArray queueRecords() const
    {
        QFile file(queuePath);
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).array()
                                              : QJsonArray();
    }
    // The raw bytes, or `count` numbered "Stored" records when bytes is empty.
    void writeQueue(int count, QByteArray bytes = {})
    {
        QJsonArray records;
        for (int n = 0; n < count; ++n)
            records.append(QJsonObject{{"event", "Stored"}, {"properties", QJsonObject{{"n", n}}}});
        QDir().mkpath(home_.dir() + "/data/tockwork");
        QFile file(queuePath);
        file.open(QIODevice::WriteOnly) &&
            file.write(count ? QJsonDocument(records).toJson() : bytes);
    }

    // Waits for `done`; with runEvents false the main thread's events (the flush timer lives
    // there) do not run meanwhile.
    static bool waitUntil(const std::function<bool()>& done, int ms = 5000, bool runEvents = true)
    {
        for (QDeadlineTimer deadline(ms); !done(); QThread::msleep(2)) {
            if (deadline.hasExpired())
                return false;
            if (runEvents)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
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
    static QJsonObject json(const char* text) { return QJsonDocument::fromJson(text).object(); }
    static void expectFields(const QJsonValue& actual, const char* expected)
    {
        const QJsonObject fields = json(expected);
        for (const QString& key : fields.keys())
            EXPECT_EQ(actual[key], fields[key]) << key.toStdString();
    }
    static int numberOf(const QJsonValue& record) { return record["properties"]["n"].toInt(-1); }

    StoreSandbox home_;
    FrozenClock clock_;
    const QString queuePath = home_.dir() + "/data/tockwork/analytics-queue.json";
    std::unique_ptr<TestServer> server_ = std::make_unique<TestServer>();
};
