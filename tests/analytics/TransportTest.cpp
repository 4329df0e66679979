// SPDX-License-Identifier: GPL-3.0-or-later
// Batching, failure and recovery, the quit wait, the switches and a load from two threads,
// against a real local server.
#include "AnalyticsFixture.h"

#include "analytics/QueueFile.h"

#include <QSet>

#include <thread>

namespace {

TEST_F(AnalyticsTest, ThirtiethEventPostsABatchOfExactlyThirty)
{
    Analytics::Testing::setFlushPeriodMs(300);
    trackNumbered(0, 29);
    // The timer lives on the main thread, whose events do not run while waiting here.
    ASSERT_TRUE(waitUntil([] { return Analytics::Testing::bufferedCount() == 29; }, 5000, false));
    EXPECT_TRUE(server_->requests().isEmpty());
    trackNumbered(29, 1);
    ASSERT_TRUE(waitUntil([&] { return server_->requests().size() == 1; }, 5000, false));
    const auto batch = server_->requests()[0];
    EXPECT_EQ(batch.path, "/track?ip=1");
    ASSERT_EQ(batch.records.size(), 30);
    for (int n = 0; n < 30; ++n)
        EXPECT_EQ(numberOf(batch.records[n]), n);
}

TEST_F(AnalyticsTest, AnyAnswerButTwoHundredKeepsTheEventsAndDropsProfileOperations)
{
    for (int answer : {204, 500, 0}) { // 0: the connection is dropped (and tried again)
        server_->answer([answer](auto&) { return answer; });
        const int kept = queueRecords().size();
        trackNumbered(kept, 4);
        Analytics::peopleSet({{"locale", "ko_KR"}});
        Analytics::flush();
        ASSERT_TRUE(
            waitUntil([&] { return server_->records(false).size() > kept / 4 && settled(); }));
        ASSERT_EQ(queueRecords().size(), kept + 4) << answer;
        EXPECT_EQ(numberOf(queueRecords()[kept + 3]), kept + 3);
    }
}

TEST_F(AnalyticsTest, OutageKeepsTheNewestFiveHundredInTheQueueFile)
{
    writeQueue(490);
    server_->answer([](auto&) { return 500; });
    trackNumbered(1000, 20);
    Analytics::flush();
    ASSERT_TRUE(waitUntil([] { return settled(); }));
    const QJsonArray kept = queueRecords();
    ASSERT_EQ(kept.size(), 500);
    EXPECT_EQ(numberOf(kept[0]), 10);
    EXPECT_EQ(numberOf(kept[499]), 1019);
}

TEST_F(AnalyticsTest, LaunchDrainsTheFileInChunksAndKeepsAFailedChunk)
{
    writeQueue(65);
    server_->answer([](auto& r) { return numberOf(r.records[0]) == 30 ? 500 : 200; });
    Analytics::start();
    ASSERT_TRUE(waitUntil([&] { return server_->records().size() == 67 && settled(); }));
    QList<qsizetype> sizes;
    for (const auto& request : server_->requests())
        if (request.records[0]["event"] == "Stored")
            sizes.push_back(request.records.size());
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (QList<qsizetype>{5, 30, 30}));
    const QJsonArray kept = queueRecords();
    ASSERT_EQ(kept.size(), 30);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(numberOf(kept[i]), 30 + i);
}

// A queue grown far beyond its cap by someone else costs no more than a full one: the newest 500
// are sent, in 17 posts; a file larger than any queue is not read at all.
TEST_F(AnalyticsTest, AnOverfullQueueFileIsTrimmedToTheNewestFiveHundredAtLaunch)
{
    writeQueue(30000);
    Analytics::start();
    ASSERT_TRUE(waitUntil([&] { return server_->records().size() == 502 && settled(); }, 20000))
        << server_->records().size();
    qsizetype storedPosts = 0;
    int oldest = 30000;
    for (const auto& request : server_->requests())
        if (request.records[0]["event"] == "Stored") {
            ++storedPosts;
            for (const QJsonValue& record : request.records)
                oldest = std::min(oldest, numberOf(record));
        }
    EXPECT_EQ(storedPosts, 17);
    EXPECT_EQ(oldest, 29500);

    relaunch(); // the second launch sends "App Launched" alone
    writeQueue(0, QByteArray(Analytics::QueueFile::maxBytes + 1, ' '));
    Analytics::start();
    ASSERT_TRUE(waitUntil([&] { return server_->records().size() == 503 && settled(); }));
    EXPECT_EQ(QFile(queuePath).size(), Analytics::QueueFile::maxBytes + 1) << "left alone";
}

TEST_F(AnalyticsTest, CorruptFileIsLeftAloneAtLaunchAndReplacedByTheNextFailure)
{
    writeQueue(0, "[{\"event\": \"half a rec");
    Analytics::start();
    ASSERT_TRUE(waitUntil([&] { return server_->records().size() == 2 && settled(); }));
    EXPECT_EQ(QFile(queuePath).size(), 22); // as written
    server_->answer([](auto&) { return 500; });
    trackNumbered(0, 3);
    Analytics::flush();
    ASSERT_TRUE(waitUntil([] { return settled(); }));
    EXPECT_EQ(queueRecords().size(), 3);
}

TEST_F(AnalyticsTest, FlushSyncIsQuickWhenIdleWaitsForTheAnswerAndGivesUpOnAHang)
{
    QElapsedTimer timer;
    timer.start();
    Analytics::flushSync(); // nothing ever tracked
    EXPECT_LT(timer.elapsed(), 1400) << "returns without waiting out its 1.5 s limit";
    trackNumbered(0, 3);
    Analytics::flushSync();
    EXPECT_EQ(server_->records().size(), 3);

    // Quitting right after this must lose neither the events nor the opt-out notice.
    server_->answer([](auto&) { return -1; });
    trackNumbered(3, 2);
    Analytics::setOptOut(true);
    timer.restart();
    Analytics::flushSync();
    // It waited for the answer, then gave up instead of hanging with the server.
    EXPECT_TRUE(timer.elapsed() >= 1000 && timer.elapsed() < 10000) << timer.elapsed();
    ASSERT_TRUE(waitUntil([&] { return queueRecords().size() == 3; }, 2000));
}

TEST_F(AnalyticsTest, ShutdownKeepsBufferedAndUnansweredEvents)
{
    server_->answer([](auto&) { return -1; });
    trackNumbered(0, 32); // 30 posted and never answered, 2 still buffered
    ASSERT_TRUE(waitUntil([] { return Analytics::Testing::bufferedCount() == 2; }, 5000, false));
    Analytics::shutdown();
    EXPECT_FALSE(Analytics::Testing::workerStarted());
    EXPECT_EQ(queueRecords().size(), 32);
}

TEST_F(AnalyticsTest, OptingOutSendsTheLastEventFirstOptingInSendsItAfter)
{
    Analytics::setOptOut(true);
    Analytics::track("Menu Opened");
    Analytics::peopleSet({{"locale", "ko_KR"}});
    Analytics::setOptOut(false);
    Analytics::setOptOut(false); // every save with the box ticked says so again
    Analytics::flush();
    ASSERT_TRUE(waitUntil([&] { return server_->records().size() == 3 && settled(); }));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(server_->records().at(i)["event"], "Analytics Opt Out Changed");
        EXPECT_EQ(server_->records().at(i)["properties"]["opted_out"].toBool(), i == 0);
    }
    EXPECT_TRUE(server_->records(false).isEmpty());
}

TEST_F(AnalyticsTest, PlaceholderTokenAndDemoRunsSendWriteAndScheduleNothing)
{
    for (bool placeholder : {true, false}) {
        relaunch();
        placeholder ? Analytics::Testing::setToken("__TOKEN__") : Analytics::setDemoRun();
        Analytics::start();
        trackNumbered(0, 40);
        Analytics::peopleIncrement({{"total_launches", 1}});
        Analytics::updateDailySnapshot(Status{});
        Analytics::flushSync();
        EXPECT_FALSE(Analytics::Testing::flushTimerActive() || Analytics::Testing::workerStarted());
    }
    waitUntil([] { return false; }, 300);
    EXPECT_TRUE(server_->requests().isEmpty());
    EXPECT_FALSE(QFile::exists(queuePath));
    for (const char* key : {"analyticsLaunchCount", "analyticsInstalledAt", "analyticsDistinctId",
                            "analyticsSnapshot", "analyticsSnapshotDay"})
        EXPECT_FALSE(Store::standard().contains(key)) << key;
}

TEST_F(AnalyticsTest, TenThousandEventsFromTwoThreadsArriveExactlyOnce)
{
    std::thread a(trackNumbered, 0, 5000), b(trackNumbered, 5000, 5000);
    a.join(), b.join();
    // The last few go with the flush timer.
    ASSERT_TRUE(waitUntil([&] { return server_->records().size() >= 10000 && settled(); }, 30000));
    const QJsonArray records = server_->records();
    EXPECT_EQ(records.size(), 10000);
    QSet<QString> ids; // a record sent twice would repeat its id
    for (const QJsonValue& r : records)
        ids.insert(r["properties"]["$insert_id"].toString());
    EXPECT_EQ(ids.size(), 10000);
}

} // namespace
