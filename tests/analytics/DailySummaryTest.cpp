// SPDX-License-Identifier: GPL-3.0-or-later
// The per-day snapshot and the "Daily Summary" it becomes on a later day.
#include "AnalyticsFixture.h"

#include "engine/Cfg.h"
#include "engine/DayKey.h"
#include "slacking/Wollu.h"

namespace {

QJsonObject lastSummary(const TestServer& server)
{
    QJsonObject last;
    for (const QJsonValue& r : server.records())
        if (r["event"] == "Daily Summary")
            last = r["properties"].toObject();
    return last;
}

TEST_F(AnalyticsTest, MidnightTurnsYesterdaysSnapshotIntoOneSummary)
{
    Cfg::save(540, 1080, 720, 780, 3'200'000, true);
    Wollu::add(47 * 60);
    Analytics::updateDailySnapshot({.state = DayState::working, .progress = 1, .workedMin = 480});
    // The salary changes in the evening; the summary still reports the day as it was.
    Cfg::save(540, 1080, 720, 780, 8'000'000, true);
    Clock::freeze(tuesdayFivePm + 7 * 3600 + 10); // 00:00:10 on Wednesday
    Analytics::updateDailySnapshot({.state = DayState::working});
    Analytics::updateDailySnapshot({.state = DayState::working});
    ASSERT_TRUE(waitUntil([&] { return server_->records().size() == 1 && settled(); }));
    expectFields(lastSummary(*server_), R"({"date": "2026-3-10", "wollu_ratio_pct": 10,
        "worked_hours": 8, "did_overtime": false, "completed_goal": true,
        "salary_bucket": "300_350", "eod_choice": "none"})");
    ASSERT_EQ(server_->records(false).size(), 1);
    EXPECT_EQ(server_->records(false).at(0)["$add"], json(R"({"total_days_tracked": 1})"));

    // Not sent while opted out; sent under its own date at the next launch after opting in.
    Analytics::setOptOut(true);
    Clock::freeze(tuesdayFivePm + 2 * 86400);
    Analytics::updateDailySnapshot({});
    Analytics::setOptOut(false);
    relaunch();
    Analytics::start();
    ASSERT_TRUE(waitUntil([&] { return lastSummary(*server_)["date"] == "2026-3-11"; }));
    EXPECT_EQ(Store::standard().text("analyticsSnapshotDay"), QString("2026-3-12"));
}

TEST_F(AnalyticsTest, SummaryFiguresComeFromTheStoredSnapshot)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"({"worked_min": 0, "wollu_min": 5, "progress_pct": 99})",
         R"({"wollu_ratio_pct": 0, "worked_hours": 0, "completed_goal": false})"},
        {R"({"worked_min": 545, "overtime_min": 65, "progress_pct": 112})",
         R"({"worked_hours": 9.08, "did_overtime": true, "completed_goal": true})"},
        {R"({"worked_min": 200, "wollu_min": 1})", R"({"wollu_ratio_pct": 1})"}, // 0.5 % rounds up
        // Values of the wrong kind count as 0.
        {R"({"worked_min": "lots", "wollu_min": 30, "overtime_min": "x", "progress_pct": "100"})",
         R"({"wollu_ratio_pct": 0, "did_overtime": false, "completed_goal": false})"}};
    for (const auto& [snapshot, expected] : cases) {
        Store::standard().set("analyticsSnapshotDay", "2026-3-9");
        Store::standard().set("analyticsSnapshot", json(snapshot).toVariantMap());
        const qsizetype before = server_->records().size();
        Analytics::flushPreviousDay();
        ASSERT_TRUE(waitUntil([&] { return server_->records().size() == before + 1; }));
        expectFields(lastSummary(*server_), expected);
    }
    // Nothing for today's snapshot.
    Store::standard().set("analyticsSnapshotDay", today());
    Analytics::flushPreviousDay();
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(server_->records().size(), std::size(cases));
}

} // namespace
