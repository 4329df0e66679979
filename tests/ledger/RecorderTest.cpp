// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/Display.h"
#include "display/Pay.h"
#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/DaysOff.h"
#include "engine/Dinner.h"
#include "engine/Eod.h"
#include "engine/Status.h"
#include "ledger/DayCapture.h"
#include "ledger/History.h"
#include "ledger/Ledger.h"
#include "ledger/LedgerRecorder.h"
#include "slacking/Wollu.h"

#include "Sandbox.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// The application's own ledger in a sandboxed home, a frozen clock, 3,000,000 won a month.
class RecorderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        sandbox.useAsHome();
        Cfg::save(540, 1080, 720, 780, 3000000, true);
    }
    static double at(const QDate& date, int h, int m, int s = 0)
    {
        return FrozenClock::epoch(date, QTime(h, m, s));
    }
    std::optional<DayRecord> row(const QDate& date)
    {
        Ledger reader(Ledger::standardPath(), Ledger::Access::readOnly);
        return reader.day(date);
    }

    StoreSandbox sandbox;
    FrozenClock clock;
};

TEST_F(RecorderTest, TodaysRowFollowsTheDayAcrossMidnight)
{
    const QDate thursday(2026, 12, 10);
    clock.at(thursday, QTime(23, 59, 0));
    LedgerRecorder recorder(Ledger::standardPath());
    ASSERT_TRUE(recorder.isOpen());
    EXPECT_TRUE(QFile::exists(sandbox.filePath(QStringLiteral("data/tockwork/days.sqlite"))));
    Wollu::add(120);
    clock.at(thursday, QTime(23, 59, 30));
    recorder.recordNowAndWait();
    std::optional<DayRecord> before = row(thursday);
    ASSERT_TRUE(before);
    EXPECT_DOUBLE_EQ(before->slackSec, 120);
    EXPECT_FALSE(before->final);

    clock.at(thursday.addDays(1), QTime(0, 0, 30));
    recorder.recordNowAndWait();
    EXPECT_TRUE(row(thursday)->final);
    const std::optional<DayRecord> friday = row(thursday.addDays(1));
    ASSERT_TRUE(friday);
    EXPECT_DOUBLE_EQ(friday->slackSec, 0) << "the slacking total starts again with the day";
    EXPECT_EQ(friday->kind, DayKind::working);
}

// The day that loses an hour is still one day with one row, under its local date.
TEST_F(RecorderTest, DaylightSavingDayIsOneRowUnderItsLocalDate)
{
    ScopedTimeZone berlin("Europe/Berlin");
    const QDate sunday(2026, 3, 29); // 02:00 becomes 03:00
    Cfg::save(0, 1440, 720, 720, 3000000, false);
    clock.at(sunday, QTime(1, 59, 0));
    LedgerRecorder recorder(Ledger::standardPath());
    clock.at(sunday, QTime(3, 1, 0));
    recorder.recordNowAndWait();
    Ledger reader(Ledger::standardPath(), Ledger::Access::readOnly);
    const QList<DayRecord> rows = reader.range(sunday.addDays(-1), sunday.addDays(1));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].date, sunday);
    EXPECT_EQ(rows[0].kind, DayKind::weekend);
    // 01:59 then 03:01 local is two minutes of real time, and the row holds the engine's figure.
    EXPECT_DOUBLE_EQ(rows[0].workedMin, computeStatus(Clock::now()).workedMin);
}

// A scripted week: every row holds the day's view's own figures, and the totals add them up.
TEST_F(RecorderTest, ScriptedWeekMatchesTheDayViewAndItsTotals)
{
    const QDate monday(2026, 12, 7);
    DaysOff::add({monday.addDays(2), DayOffPart::fullDay, QStringLiteral("연차")});
    DaysOff::add({monday.addDays(3), DayOffPart::afternoon, {}});

    clock.at(monday, QTime(9, 0));
    LedgerRecorder recorder(Ledger::standardPath());
    QList<DayRecord> expected;
    for (int d = 0; d < 5; ++d) {
        const QDate date = monday.addDays(d);
        clock.at(date, QTime(10, 0));
        Wollu::add(600 * (d + 1));
        if (d == 1) { // Tuesday: overtime with a dinner break, then leaves at 21:00
            Dinner::begin(at(date, 18, 30));
            Dinner::end(at(date, 19, 0));
            clock.at(date, QTime(21, 0));
            recorder.recordNowAndWait();
            Eod::choose(QStringLiteral("left"));
        }
        clock.at(date, QTime(22, 30));
        recorder.recordNowAndWait();

        const std::optional<DayRecord> r = row(date);
        ASSERT_TRUE(r) << d;
        Status s = computeStatus(Clock::now());
        const DayPay pay = dayPay(s);
        EXPECT_DOUBLE_EQ(r->earnedWon, pay.earnedWon) << d;
        EXPECT_DOUBLE_EQ(r->workedMin, s.workedMin) << d;
        EXPECT_DOUBLE_EQ(r->slackSec, 600.0 * (d + 1)) << d;
        if (d == 1) {
            // The overtime as it stood when the user left: 18:00-21:00 less 30 minutes of dinner.
            EXPECT_DOUBLE_EQ(r->overtimeMin, 150);
            EXPECT_DOUBLE_EQ(r->dinnerMin, 30);
            EXPECT_NEAR(r->overtimeWon, Cfg::hourlyWonLegal() / 60 * 150 * 1.5, 1e-6);
            EXPECT_EQ(r->eodChoice, QStringLiteral("left"));
        } else if (d != 3) {
            EXPECT_DOUBLE_EQ(r->overtimeMin, s.overtimeMin) << d;
            EXPECT_DOUBLE_EQ(r->overtimeWon, pay.overtimeWon) << d;
        }
        expected.append(*r);
    }
    EXPECT_EQ(expected[2].kind, DayKind::dayOff);
    EXPECT_DOUBLE_EQ(expected[2].workedMin, 0);
    EXPECT_DOUBLE_EQ(expected[2].earnedWon, expected[0].earnedWon) << "a paid day is paid";
    EXPECT_EQ(expected[3].kind, DayKind::halfDayPm);
    EXPECT_DOUBLE_EQ(expected[3].overtimeMin, 0);
    EXPECT_DOUBLE_EQ(expected[3].earnedWon, expected[0].earnedWon);

    Ledger reader(Ledger::standardPath(), Ledger::Access::readOnly);
    const HistoryTotals t = totalsOf(reader.range(monday, monday.addDays(6)));
    EXPECT_EQ(t.days, 5);
    double earned = 0, overtime = 0, slackWon = 0;
    for (const DayRecord& r : expected) {
        earned += r.earnedWon;
        overtime += r.overtimeWon;
        slackWon += r.hourlyWon * r.slackSec / 3600;
    }
    EXPECT_NEAR(t.totalWon(), earned + overtime, 1e-6);
    EXPECT_DOUBLE_EQ(t.slackSec, 600.0 * 15);
    EXPECT_EQ(t.slackSharePercent(), qRound64(slackWon / earned * 100));
}

// The breakdown the tracker hands over survives a restart through today's row and starts again
// with the next day; without it the columns stay unknown.
TEST_F(RecorderTest, SlackingByReasonAndTopTargetsCarryOverARestart)
{
    const QDate monday(2026, 12, 7);
    clock.at(monday, QTime(10, 0));
    {
        LedgerRecorder recorder(Ledger::standardPath());
        recorder.recordNowAndWait();
        EXPECT_TRUE(row(monday)->slackByReason.isEmpty());
        recorder.addSlacking(30, QStringLiteral("site"), QStringLiteral("유튜브"));
        recorder.addSlacking(20, QStringLiteral("app"), QStringLiteral("카카오톡"));
        recorder.addSlacking(10, QStringLiteral("idle"), {});
        recorder.addSlacking(-5, QStringLiteral("idle"), {});
        recorder.recordNowAndWait();
    }
    LedgerRecorder restarted(Ledger::standardPath());
    restarted.addSlacking(25, QStringLiteral("site"), QStringLiteral("넷플릭스"));
    restarted.addSlacking(5, QStringLiteral("site"), QStringLiteral("레딧"));
    restarted.addSlacking(1, QStringLiteral("site"), QStringLiteral("트위치"));
    restarted.recordNowAndWait();
    const DayRecord today = *row(monday);
    EXPECT_EQ(today.slackByReason, (QMap<QString, double>{{QStringLiteral("site"), 61},
                                                          {QStringLiteral("app"), 20},
                                                          {QStringLiteral("idle"), 10}}));
    EXPECT_EQ(today.topTargets, (QList<SlackTarget>{{QStringLiteral("유튜브"), 30},
                                                    {QStringLiteral("넷플릭스"), 25},
                                                    {QStringLiteral("카카오톡"), 20}}));

    clock.at(monday.addDays(1), QTime(9, 0));
    restarted.recordNowAndWait();
    EXPECT_TRUE(row(monday.addDays(1))->slackByReason.isEmpty());
}

// A ledger that cannot be opened at start is tried again in the same session: the day is kept
// once it can be, and a row an earlier run kept today keeps its slacking breakdown.
TEST_F(RecorderTest, ALedgerThatFailedAtStartIsTriedAgain)
{
    const QDate day(2026, 12, 9);
    clock.at(at(day, 10, 0));
    const QString path = sandbox.filePath(QStringLiteral("blocked/days.sqlite"));
    {
        Ledger earlier(sandbox.filePath(QStringLiteral("earlier.sqlite")),
                       Ledger::Access::readWrite);
        DayRecord row = captureDay(Clock::now());
        row.slackByReason.insert(QStringLiteral("idle"), 120);
        ASSERT_TRUE(earlier.upsert(row));
    }
    // The folder cannot be made: a file stands where it should be (root may write anywhere).
    QFile blocker(sandbox.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    LedgerRecorder recorder(path, nullptr, 0);
    EXPECT_FALSE(recorder.isOpen());
    recorder.addSlacking(60, QStringLiteral("idle"), QStringLiteral("youtube"));
    recorder.recordNowAndWait();
    EXPECT_FALSE(recorder.isOpen());

    ASSERT_TRUE(QFile::remove(blocker.fileName()));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    ASSERT_TRUE(QFile::copy(sandbox.filePath(QStringLiteral("earlier.sqlite")), path));
    QThread::msleep(5);
    clock.at(at(day, 10, 1));
    recorder.recordNowAndWait();
    EXPECT_TRUE(recorder.isOpen());
    // The earlier run's row is taken in first, then written with this run's slacking added.
    QCoreApplication::processEvents();
    recorder.recordNowAndWait();
    Ledger reader(path, Ledger::Access::readOnly);
    const std::optional<DayRecord> kept = reader.day(day);
    ASSERT_TRUE(kept);
    EXPECT_DOUBLE_EQ(kept->slackByReason.value(QStringLiteral("idle")), 180);
    EXPECT_DOUBLE_EQ(kept->updatedAt, at(day, 10, 1));
}

} // namespace
