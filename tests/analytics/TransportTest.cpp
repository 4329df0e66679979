// Batching, failure and recovery, the quit wait and the switches, against a real local server.
#include "AnalyticsFixture.h"

namespace {

using Answer = TestServer::Answer;

TEST_F(AnalyticsTest, ThirtiethEventPostsABatchOfExactlyThirtyFewerWaitForTheTimer)
{
    Analytics::Testing::setFlushPeriodMs(300);
    trackNumbered(0, 29);
    // The timer lives on the main thread, whose events do not run while waiting here.
    ASSERT_TRUE(waitWithoutTimer([] { return Analytics::Testing::bufferedCount() == 29; }));
    EXPECT_TRUE(server_->trackRequests().isEmpty());

    trackNumbered(29, 1);
    ASSERT_TRUE(waitWithoutTimer([&] { return server_->trackRequests().size() == 1; }));
    const auto batch = server_->trackRequests()[0];
    EXPECT_EQ(batch.path, "/track?ip=1");
    ASSERT_EQ(batch.records.size(), 30);
    for (int n = 0; n < 30; ++n)
        EXPECT_EQ(numberOf(batch.records[n]), n);
    EXPECT_TRUE(onlyBase64Escapes(batch.body));

    trackNumbered(30, 5);
    ASSERT_TRUE(waitUntil([&] { return server_->trackRequests().size() == 2; }));
    EXPECT_EQ(server_->trackRequests()[1].records.size(), 5);
    EXPECT_TRUE(Analytics::Testing::flushTimerActive());
    EXPECT_FALSE(QFile::exists(queuePath()));
}

class FailedPost : public AnalyticsTest, public ::testing::WithParamInterface<Answer>
{};

TEST_P(FailedPost, AnyAnswerButTwoHundredKeepsTheBatch)
{
    server_->answerAll(GetParam());
    trackNumbered(0, 4);
    Analytics::flush();
    ASSERT_TRUE(waitUntil([] { return settled(); }));
    const QJsonArray kept = queueRecords();
    ASSERT_EQ(kept.size(), 4);
    EXPECT_EQ(numberOf(kept[0]), 0);
    EXPECT_EQ(numberOf(kept[3]), 3);
}

INSTANTIATE_TEST_SUITE_P(Answers, FailedPost,
                         ::testing::Values(Answer::created, Answer::noContent, Answer::serverError,
                                           Answer::closeConnection));

TEST_F(AnalyticsTest, QueueFileKeepsTheNewestFiveHundred)
{
    QJsonArray old;
    for (int n = 0; n < 490; ++n)
        old.append(QJsonObject{{"event", "Old"}, {"properties", QJsonObject{{"n", n}}}});
    writeQueue(QJsonDocument(old).toJson(QJsonDocument::Compact));

    server_->answerAll(Answer::serverError);
    trackNumbered(1000, 20);
    Analytics::flush();
    ASSERT_TRUE(waitUntil([] { return settled(); }));
    const QJsonArray kept = queueRecords();
    ASSERT_EQ(kept.size(), 500);
    EXPECT_EQ(numberOf(kept[0]), 10);
    EXPECT_EQ(numberOf(kept[479]), 489);
    EXPECT_EQ(numberOf(kept[499]), 1019);
}

TEST_F(AnalyticsTest, LaunchDrainsTheFileInChunksAndKeepsAFailedChunk)
{
    QJsonArray stored;
    for (int n = 0; n < 65; ++n)
        stored.append(QJsonObject{{"event", "Stored"}, {"properties", QJsonObject{{"n", n}}}});
    writeQueue(QJsonDocument(stored).toJson(QJsonDocument::Compact));
    server_->setResponder([](const TestServer::Request& request) {
        const bool middleChunk =
            request.track() && !request.records.isEmpty() && numberOf(request.records[0]) == 30;
        return middleChunk ? Answer::serverError : Answer::ok;
    });

    Analytics::start();
    ASSERT_TRUE(waitUntil([&] {
        return eventsNamed(server_->trackRecords(), "App Launched").size() == 1 && settled();
    }));

    QList<qsizetype> sizes;
    QSet<int> numbers;
    for (const auto& request : server_->trackRequests()) {
        if (eventsNamed(request.records, "Stored").isEmpty())
            continue;
        sizes.push_back(request.records.size());
        for (const QJsonValue& record : request.records)
            numbers.insert(numberOf(record));
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (QList<qsizetype>{5, 30, 30}));
    EXPECT_EQ(numbers.size(), 65);

    const QJsonArray kept = queueRecords();
    ASSERT_EQ(kept.size(), 30);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(numberOf(kept[i]), 30 + i);
}

TEST_F(AnalyticsTest, CorruptFileIsLeftAloneAtLaunchAndReplacedByTheNextFailure)
{
    writeQueue("[{\"event\": \"half a rec");
    Analytics::start();
    ASSERT_TRUE(waitUntil([&] { return server_->trackRecords().size() == 2 && settled(); }));
    QFile file(queuePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[{\"event\": \"half a rec");
    file.close();

    server_->answerAll(Answer::serverError);
    trackNumbered(0, 3);
    Analytics::flush();
    ASSERT_TRUE(waitUntil([] { return settled(); }));
    const QJsonArray kept = queueRecords();
    ASSERT_EQ(kept.size(), 3);
    EXPECT_EQ(numberOf(kept[2]), 2);
}

TEST_F(AnalyticsTest, FailedProfileOperationsAreDropped)
{
    server_->answerAll(Answer::serverError);
    Analytics::peopleSet({{"locale", "ko_KR"}});
    Analytics::peopleIncrement({{"total_launches", 1}});
    ASSERT_TRUE(waitUntil([&] { return server_->requests().size() == 2 && settled(); }));
    EXPECT_EQ(server_->requests()[0].path, "/engage?ip=1");
    EXPECT_FALSE(QFile::exists(queuePath()));
}

TEST_F(AnalyticsTest, FlushSyncReturnsAtOnceWhenNothingIsWaiting)
{
    QElapsedTimer timer;
    timer.start();
    Analytics::flushSync(); // nothing ever tracked
    Analytics::track("Manual Refresh");
    Analytics::flush();
    ASSERT_TRUE(waitUntil([&] { return server_->trackRecords().size() == 1 && settled(); }));
    timer.restart();
    Analytics::flushSync();
    EXPECT_LT(timer.elapsed(), 1000);
}

TEST_F(AnalyticsTest, FlushSyncSendsTheBufferAndWaitsForTheAnswer)
{
    trackNumbered(0, 3);
    Analytics::flushSync();
    EXPECT_EQ(server_->trackRecords().size(), 3);
    EXPECT_FALSE(QFile::exists(queuePath()));
}

TEST_F(AnalyticsTest, FlushSyncGivesUpAfterOneAndAHalfSecondsAndKeepsWhatHangs)
{
    server_->answerAll(Answer::hang);
    trackNumbered(0, 3);
    QElapsedTimer timer;
    timer.start();
    Analytics::flushSync();
    const qint64 elapsed = timer.elapsed();
    EXPECT_GE(elapsed, 1200);
    EXPECT_LE(elapsed, 3000);
    // Quitting right after this must not lose the events: they wait in the queue file.
    ASSERT_TRUE(waitUntil([] { return queueRecords().size() == 3; }, 2000));
}

TEST_F(AnalyticsTest, ShutdownKeepsBufferedAndUnansweredEvents)
{
    server_->answerAll(Answer::hang);
    trackNumbered(0, 30); // posted, never answered
    trackNumbered(30, 2); // still buffered
    ASSERT_TRUE(waitWithoutTimer([] { return Analytics::Testing::bufferedCount() == 2; }));
    Analytics::shutdown();
    EXPECT_FALSE(Analytics::Testing::workerStarted());
    EXPECT_EQ(queueRecords().size(), 32);
}

TEST_F(AnalyticsTest, OptingOutSendsTheLastEventFirstOptingInSendsItAfter)
{
    Analytics::setOptOut(true);
    EXPECT_TRUE(Analytics::optOut());
    EXPECT_FALSE(Analytics::enabled());
    Analytics::track("Menu Opened");
    Analytics::peopleSet({{"locale", "ko_KR"}});
    ASSERT_TRUE(waitUntil([&] { return server_->trackRecords().size() == 1 && settled(); }));

    Analytics::setOptOut(false);
    Analytics::setOptOut(false); // every save with the box ticked says so again
    Analytics::flush();
    ASSERT_TRUE(waitUntil([&] { return server_->trackRecords().size() == 3 && settled(); }));

    const QJsonArray records = server_->trackRecords();
    QList<bool> optedOut;
    for (const QJsonValue& r : records) {
        EXPECT_EQ(r.toObject()["event"].toString(), "Analytics Opt Out Changed");
        optedOut.push_back(r.toObject()["properties"].toObject()["opted_out"].toBool());
    }
    EXPECT_EQ(optedOut, (QList<bool>{true, false, false}));
    EXPECT_TRUE(server_->engageRecords().isEmpty());
}

TEST_F(AnalyticsTest, OptOutEventIsNotLostWhenQuittingRightAfter)
{
    server_->answerAll(Answer::hang);
    Analytics::setOptOut(true);
    Analytics::flushSync();
    ASSERT_TRUE(waitUntil([] { return queueRecords().size() == 1; }, 2000));
}

class Disabled : public AnalyticsTest, public ::testing::WithParamInterface<bool>
{};

TEST_P(Disabled, PlaceholderTokenAndDemoRunsSendWriteAndScheduleNothing)
{
    if (GetParam())
        Analytics::Testing::setToken("__MIXPANEL_TOKEN__");
    else
        Analytics::setDemoRun();
    EXPECT_FALSE(Analytics::enabled());

    Analytics::start();
    trackNumbered(0, 40);
    Analytics::peopleSet({{"locale", "ko_KR"}});
    Analytics::peopleSetOnce({{"first_seen_at", "x"}});
    Analytics::peopleIncrement({{"total_launches", 1}});
    Analytics::updateDailySnapshot(Status{});
    Analytics::flushSync();
    waitUntil([] { return false; }, 300);

    EXPECT_TRUE(server_->requests().isEmpty());
    EXPECT_FALSE(Analytics::Testing::flushTimerActive());
    EXPECT_FALSE(Analytics::Testing::workerStarted());
    EXPECT_FALSE(QFile::exists(queuePath()));
    for (const char* key : {"analyticsLaunchCount", "analyticsInstalledAt", "analyticsDistinctId",
                            "analyticsSnapshot", "analyticsSnapshotDay"})
        EXPECT_FALSE(Store::standard().contains(key)) << key;
}

INSTANTIATE_TEST_SUITE_P(Switches, Disabled, ::testing::Values(true, false), [](const auto& info) {
    return info.param ? "PlaceholderToken" : "DemoRun";
});

} // namespace
