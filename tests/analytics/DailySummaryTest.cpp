// The per-day snapshot and the "Daily Summary" it becomes on a later day.
#include "AnalyticsFixture.h"

#include "Cfg.h"
#include "DayKey.h"
#include "slacking/Wollu.h"

namespace {

Status workingDay(double workedMin, double progress, double overtimeMin = 0)
{
    Status status;
    status.state = overtimeMin > 0 ? DayState::overtime : DayState::working;
    status.workedMin = workedMin;
    status.progress = progress;
    status.overtimeMin = overtimeMin;
    return status;
}

QJsonObject onlySummary(const TestServer& server)
{
    const QJsonArray summaries = AnalyticsTest::eventsNamed(server.trackRecords(), "Daily Summary");
    EXPECT_EQ(summaries.size(), 1);
    return summaries.isEmpty() ? QJsonObject() : summaries[0].toObject()["properties"].toObject();
}

TEST_F(AnalyticsTest, MidnightTurnsYesterdaysSnapshotIntoOneSummary)
{
    Cfg::save(540, 1080, 720, 780, 3'200'000, true);
    Wollu::add(47 * 60);
    Analytics::updateDailySnapshot(workingDay(480, 1.0));
    EXPECT_EQ(Store::standard().text("analyticsSnapshotDay"), QString("2026-3-10"));
    const QVariantMap stored = Store::standard().object("analyticsSnapshot").toMap();
    EXPECT_EQ(stored.size(), 11);
    EXPECT_EQ(stored["eod_choice"].toString(), "none");
    EXPECT_EQ(stored["wollu_min"].toLongLong(), 47);

    // The salary changes in the evening; the summary still reports the day as it was.
    Cfg::save(540, 1080, 720, 780, 8'000'000, true);
    Clock::freeze(tuesdayFivePm + 7 * 3600 + 10); // 00:00:10 on Wednesday
    Analytics::updateDailySnapshot(workingDay(0, 0));
    Analytics::updateDailySnapshot(workingDay(0, 0));
    ASSERT_TRUE(waitUntil([&] { return server_->trackRecords().size() == 1 && settled(); }));

    const QJsonObject summary = onlySummary(*server_);
    EXPECT_EQ(summary["date"].toString(), "2026-3-10");
    EXPECT_EQ(summary["wollu_ratio_pct"].toInteger(), 10);
    EXPECT_DOUBLE_EQ(summary["worked_hours"].toDouble(), 8.0);
    EXPECT_FALSE(summary["did_overtime"].toBool());
    EXPECT_TRUE(summary["completed_goal"].toBool());
    EXPECT_EQ(summary["salary_bucket"].toString(), "300_350");
    EXPECT_EQ(summary["state"].toString(), "working");
    EXPECT_FALSE(summary["is_holiday"].toBool());
    EXPECT_EQ(server_->engageRecords().size(), 1);
    EXPECT_EQ(server_->engageRecords()[0]["$add"].toObject(),
              (QJsonObject{{"total_days_tracked", 1}}));

    // A fresh snapshot for Wednesday.
    EXPECT_EQ(Store::standard().text("analyticsSnapshotDay"), QString("2026-3-11"));
    EXPECT_EQ(Store::standard().object("analyticsSnapshot").toMap()["worked_min"].toLongLong(), 0);
}

TEST_F(AnalyticsTest, UnsentSummaryGoesAtTheNextLaunchOnALaterDay)
{
    Analytics::updateDailySnapshot(workingDay(300, 0.625));
    Clock::freeze(tuesdayFivePm + 2 * 86400);
    relaunch();
    Analytics::start();
    ASSERT_TRUE(
        waitUntil([&] { return !eventsNamed(server_->trackRecords(), "App Launched").isEmpty(); }));
    EXPECT_EQ(onlySummary(*server_)["date"].toString(), "2026-3-10");
    EXPECT_FALSE(Store::standard().contains("analyticsSnapshot"));
    EXPECT_EQ(Store::standard().text("analyticsSnapshotDay"), QString("2026-3-12"));
}

struct SummaryCase
{
    QVariant worked, wollu, overtime, progress;
    qint64 ratioPct;
    double workedHours;
    bool didOvertime, completedGoal;
};

void PrintTo(const SummaryCase& c, std::ostream* os)
{
    *os << "worked " << c.worked.toString().toStdString() << ", wollu "
        << c.wollu.toString().toStdString() << ", overtime " << c.overtime.toString().toStdString()
        << ", progress " << c.progress.toString().toStdString();
}

class SummaryFigures : public AnalyticsTest, public ::testing::WithParamInterface<SummaryCase>
{};

TEST_P(SummaryFigures, DerivedFromTheStoredSnapshot)
{
    const SummaryCase& c = GetParam();
    Store::standard().set("analyticsSnapshotDay", "2026-3-9");
    Store::standard().set("analyticsSnapshot", QVariantMap{{"worked_min", c.worked},
                                                           {"wollu_min", c.wollu},
                                                           {"overtime_min", c.overtime},
                                                           {"progress_pct", c.progress}});
    Analytics::flushPreviousDay();
    ASSERT_TRUE(waitUntil([&] { return server_->trackRecords().size() == 1; }));
    const QJsonObject summary = onlySummary(*server_);
    EXPECT_EQ(summary["wollu_ratio_pct"].toInteger(), c.ratioPct);
    EXPECT_DOUBLE_EQ(summary["worked_hours"].toDouble(), c.workedHours);
    EXPECT_EQ(summary["did_overtime"].toBool(), c.didOvertime);
    EXPECT_EQ(summary["completed_goal"].toBool(), c.completedGoal);
}

INSTANTIATE_TEST_SUITE_P(
    Snapshots, SummaryFigures,
    ::testing::Values(SummaryCase{480, 47, 0, 100, 10, 8.0, false, true},
                      SummaryCase{0, 5, 0, 99, 0, 0.0, false, false},
                      SummaryCase{545, 0, 65, 112, 0, 9.08, true, true},
                      SummaryCase{200, 1, 0, 42, 1, 3.33, false, false}, // 0.5 % rounds up
                      // Values of the wrong kind count as 0; they are still sent as stored.
                      SummaryCase{"lots", 30, "x", "100", 0, 0.0, false, false}));

TEST_F(AnalyticsTest, NoSummaryForTodayOrAnEmptySnapshot)
{
    Store& store = Store::standard();
    store.set("analyticsSnapshotDay", today());
    store.set("analyticsSnapshot", QVariantMap{{"worked_min", 100}});
    Analytics::flushPreviousDay();
    store.set("analyticsSnapshotDay", "2026-3-9");
    store.set("analyticsSnapshot", QVariantMap{});
    Analytics::flushPreviousDay();
    waitUntil([] { return false; }, 300);
    EXPECT_TRUE(server_->requests().isEmpty());
    EXPECT_EQ(store.text("analyticsSnapshotDay"), QString("2026-3-9"));
}

TEST_F(AnalyticsTest, DisabledAnalyticsNeitherUpdatesNorSendsTheSnapshot)
{
    Analytics::updateDailySnapshot(workingDay(60, 0.125));
    Analytics::setOptOut(true);
    Clock::freeze(tuesdayFivePm + 86400);
    Analytics::updateDailySnapshot(workingDay(60, 0.125));
    EXPECT_EQ(Store::standard().text("analyticsSnapshotDay"), QString("2026-3-10"));

    // Opting in again on a later day sends the old day's summary under its own date.
    Clock::freeze(tuesdayFivePm + 2 * 86400);
    Analytics::setOptOut(false);
    Analytics::updateDailySnapshot(workingDay(10, 0.02));
    ASSERT_TRUE(waitUntil(
        [&] { return !eventsNamed(server_->trackRecords(), "Daily Summary").isEmpty(); }));
    EXPECT_EQ(onlySummary(*server_)["date"].toString(), "2026-3-10");
}

} // namespace
