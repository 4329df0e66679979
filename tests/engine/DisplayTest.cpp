#include "Display.h"
#include "Cfg.h"
#include "Clock.h"
#include "Dinner.h"
#include "Eod.h"
#include "Pause.h"
#include "Preview.h"
#include "Store.h"
#include "Wollu.h"

#include <QDateTime>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>
#include <limits>

namespace {

// January 2026 has 21 working days (New Year's Day is the one weekday holiday); the 14th is a
// Wednesday.
const QDate kWeekday(2026, 1, 14);
// 3,000,000 won over 8-hour days: 17,857.14 won an hour this month, 17,241.38 over 21.75 days.
constexpr qint64 kSalary = 3000000;

class DisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("TZ", "Asia/Seoul");
        tzset();
        QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
        ASSERT_TRUE(dir_.isValid());
        Store::openStandardAt(dir_.filePath(QStringLiteral("tockwork.conf")));
        setSchedule(1080, kSalary);
        freezeAt(10, 30);
        ASSERT_EQ(Cfg::workingDaysThisMonth(), 21);
    }
    void TearDown() override
    {
        Clock::unfreeze();
        Preview::demoState.reset();
        Preview::demoMode = false;
        Preview::demoWollu.reset();
        QLocale::setDefault(QLocale::system());
    }

    static void setSchedule(qint64 workEnd, qint64 salary, bool excludeWeekend = true)
    {
        Cfg::save(540, workEnd, 720, 780, salary, excludeWeekend);
    }
    static double freezeAt(int h, int m, const QDate& date = kWeekday)
    {
        Clock::freeze(Clock::toEpoch(QDateTime(date, QTime(h, m))));
        return Clock::now();
    }

private:
    QTemporaryDir dir_;
};

TEST_F(DisplayTest, WorkingMorningShowsEarnedAndStillToEarn)
{
    const Display d = currentDisplay();
    EXPECT_EQ(d.title, QStringLiteral("열심히 일하는 중 🐜"));
    EXPECT_EQ(d.mood, QStringLiteral("개미는 톡웍 오늘도 톡웍"));
    EXPECT_EQ(d.mascot, QStringLiteral("ant_work"));
    EXPECT_EQ(d.workedText, QStringLiteral("1시간 30분"));
    EXPECT_EQ(d.earnedText, QStringLiteral("(세전)26,786원 벌었어요"));
    EXPECT_EQ(d.remainWorkText, QStringLiteral("6시간 30분"));
    EXPECT_EQ(d.remainText, QStringLiteral("(세전)116,071원 벌어야 해요"));
    EXPECT_EQ(d.wolluText, QStringLiteral("아직 월루 0분, 집중 중! 🎯"));
    EXPECT_TRUE(d.showMoney);
    EXPECT_FALSE(d.wolluHot);
}

TEST_F(DisplayTest, TagNeedsPretaxSalaryAndTheSwitchAndNoDemo)
{
    Cfg::setShowPretaxTag(false);
    EXPECT_EQ(currentDisplay().earnedText, QStringLiteral("26,786원 벌었어요"));
    Cfg::setShowPretaxTag(true);
    Cfg::setSalaryPretax(false);
    EXPECT_EQ(currentDisplay().remainText, QStringLiteral("116,071원 벌어야 해요"));
    Cfg::setSalaryPretax(true);
    Preview::demoMode = true;
    EXPECT_EQ(currentDisplay().earnedText, QStringLiteral("26,786원 벌었어요"));
}

TEST_F(DisplayTest, HeaderFollowsPhaseAndManualState)
{
    Pause::set(ManualState::rest, Clock::now());
    EXPECT_EQ(currentDisplay().title, QStringLiteral("잠깐 휴식 중 ☕"));
    Pause::set(ManualState::away, Clock::now());
    EXPECT_EQ(currentDisplay().mood, QStringLiteral("곧 돌아올게요"));
    freezeAt(12, 30); // lunch ignores the manual state
    const Display lunch = currentDisplay();
    EXPECT_EQ(lunch.title, QStringLiteral("점심시간🍚"));
    EXPECT_EQ(lunch.mascot, QStringLiteral("ant_lunch"));
    Pause::set(ManualState::work, Clock::now());
    freezeAt(8, 0);
    const Display before = currentDisplay();
    EXPECT_EQ(before.title, QStringLiteral("출근 준비 🐜"));
    EXPECT_EQ(before.remainText, QStringLiteral("곧 근무 시작"));
}

TEST_F(DisplayTest, DayOffHidesFiguresAndLeavingEndsTheDay)
{
    freezeAt(10, 30, QDate(2026, 1, 17));
    Display d = currentDisplay();
    EXPECT_EQ(d.title, QStringLiteral("오늘은 쉬는 날 😴"));
    EXPECT_EQ(d.mood, QStringLiteral("푹 쉬어요"));
    EXPECT_EQ(d.mascot, QStringLiteral("home"));
    EXPECT_EQ(d.workedText + d.earnedText + d.remainWorkText, QStringLiteral("---"));
    EXPECT_EQ(d.remainText, QStringLiteral("즐거운 휴일"));

    freezeAt(19, 30);
    Eod::choose(QStringLiteral("left"));
    d = currentDisplay();
    EXPECT_EQ(d.status.state, DayState::done);
    EXPECT_EQ(d.status.progress, 1);
    EXPECT_EQ(d.status.overtimeMin, 90); // kept for the record
    EXPECT_EQ(d.title, QStringLiteral("퇴근! 베짱이 타임 🌿"));
    EXPECT_EQ(d.remainText, QStringLiteral("퇴근 완료 🎉"));
    EXPECT_EQ(d.remainWorkText, QStringLiteral("0초"));
}

struct OvertimeCase
{
    qint64 workEnd;
    int h, m;
    int dinnerFromH, dinnerFromM, dinnerToH, dinnerToM; // 0, 0, 0, 0: no dinner
    const char* remainText;
};

class OvertimePay : public DisplayTest, public ::testing::WithParamInterface<OvertimeCase>
{};

TEST_P(OvertimePay, PlainAtOneAndAHalfNightAtDouble)
{
    const OvertimeCase& c = GetParam();
    setSchedule(c.workEnd, kSalary);
    if (c.dinnerToH > 0) {
        Dinner::begin(freezeAt(c.dinnerFromH, c.dinnerFromM));
        Dinner::end(freezeAt(c.dinnerToH, c.dinnerToM));
    }
    freezeAt(c.h, c.m);
    EXPECT_EQ(currentDisplay().remainText, QString::fromUtf8(c.remainText));
}

INSTANTIATE_TEST_SUITE_P(
    Table, OvertimePay,
    ::testing::Values(
        // 90 minutes before 22:00: 17,241.38 / 60 x 135.
        OvertimeCase{1080, 19, 30, 0, 0, 0, 0, "(세전)38,793원 더 벌었어요"},
        // 23:00: 240 plain and 60 night minutes, H x 8.
        OvertimeCase{1080, 23, 0, 0, 0, 0, 0, "(세전)137,931원 더 벌었어요"},
        // Half an hour of dinner at night leaves 240 plain and 30 night minutes, H x 7.
        OvertimeCase{1080, 23, 0, 22, 0, 22, 30, "(세전)120,690원 더 벌었어요"},
        // Ending at 23:00 (13-hour day, H = 10,610.08): all 30 minutes to 23:30 are night.
        OvertimeCase{1380, 23, 30, 0, 0, 0, 0, "(세전)10,610원 더 벌었어요"}));

TEST_F(DisplayTest, WithoutSalaryMoneyAsksForIt)
{
    setSchedule(1080, 0);
    Wollu::add(47 * 60);
    Display d = currentDisplay();
    EXPECT_FALSE(d.showMoney);
    EXPECT_EQ(d.earnedText, QStringLiteral("월급 설정 필요"));
    EXPECT_EQ(d.remainText, QStringLiteral("-"));
    EXPECT_EQ(d.wolluText, QStringLiteral("⏰ 47분 딴짓"));
    EXPECT_TRUE(d.wolluHot);
    EXPECT_TRUE(d.wolluMoneyText.isEmpty() && d.wolluPctText.isEmpty());
    freezeAt(19, 0);
    EXPECT_EQ(currentDisplay().remainText, QStringLiteral("월급 설정 필요"));
}

TEST_F(DisplayTest, SlackingShowsTimeMoneyAndShareOfEarnings)
{
    setSchedule(1080, 2856000); // exactly 17,000 won an hour over 21 days
    const Status earned84300{DayState::working, 0.6, 84300.0 / 17000 * 60, 180, 0};
    Wollu::add(47 * 60);
    Display d = buildDisplay(earned84300);
    EXPECT_EQ(d.wolluText, QStringLiteral("⏰ 47분 딴짓"));
    EXPECT_EQ(d.wolluMoneyText, QStringLiteral("💰 13,317원 월루"));
    EXPECT_EQ(d.wolluPctText, QStringLiteral("지금까지 번 돈의 16% 월루했어요"));
    EXPECT_TRUE(d.wolluHot);

    // Next to nothing earned: the share is bounded instead of overflowing.
    d = buildDisplay({DayState::working, 0, 1e-12, 480, 0});
    EXPECT_EQ(d.wolluPctText, QStringLiteral("지금까지 번 돈의 999999% 월루했어요"));
    d = buildDisplay({DayState::before, 0, 0, 480, 0});
    EXPECT_EQ(d.wolluPctText, QStringLiteral("지금까지 번 돈의 0% 월루했어요"));

    Wollu::toggleHidden();
    d = buildDisplay(earned84300);
    EXPECT_EQ(d.wolluText, QStringLiteral("🙈 월루 숨김 중"));
    EXPECT_FALSE(d.wolluHot);
    Wollu::setDisabled(true);
    d = buildDisplay(earned84300);
    EXPECT_EQ(d.wolluText, QStringLiteral("😴 월루 추적 중단됨"));
    EXPECT_TRUE(d.wolluMoneyText.isEmpty() && d.wolluPctText.isEmpty());
}

TEST_F(DisplayTest, UnderAMinuteOfSlackingReadsAsNone)
{
    Wollu::add(59);
    const Display d = currentDisplay();
    EXPECT_EQ(d.wolluText, QStringLiteral("아직 월루 0분, 집중 중! 🎯"));
    EXPECT_FALSE(d.wolluHot);
    Preview::demoWollu = Preview::DemoWollu{std::numeric_limits<double>::quiet_NaN(), false, false};
    EXPECT_EQ(currentDisplay().wolluText, QStringLiteral("아직 월루 0분, 집중 중! 🎯"));
}

TEST_F(DisplayTest, PreviewStateShowsItsFixedStatus)
{
    Preview::demoState = DayState::before;
    Display d = currentDisplay();
    EXPECT_EQ(d.status, (Status{DayState::working, 0.55, 264, 216, 0}));
    EXPECT_EQ(d.title, QStringLiteral("열심히 일하는 중 🐜"));
    Preview::demoState = DayState::overtime;
    EXPECT_EQ(currentDisplay().remainWorkText, QStringLiteral("1시간 12분"));
    Preview::demoState = DayState::done;
    EXPECT_EQ(currentDisplay().remainText, QStringLiteral("퇴근 완료 🎉"));
}

TEST_F(DisplayTest, HugeSalaryStaysWithinTheFormattedRange)
{
    // A one-minute day puts the hourly rate itself beyond the 64-bit range.
    Cfg::save(540, 541, 0, 0, std::numeric_limits<qint64>::max(), true);
    const Display d = currentDisplay();
    EXPECT_TRUE(d.showMoney);
    EXPECT_TRUE(d.earnedText.endsWith(QStringLiteral("원 벌었어요"))) << d.earnedText.toStdString();
    freezeAt(23, 0); // so does the overtime pay, which stops at the edge of the range
    EXPECT_EQ(currentDisplay().remainText,
              QStringLiteral("(세전)9,223,372,036,854,774,784원 더 벌었어요"));
}

} // namespace
