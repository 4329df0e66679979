#include "EngineTestSupport.h"

#include "Dinner.h"
#include "Display.h"
#include "Eod.h"
#include "Pause.h"
#include "Preview.h"
#include "Wollu.h"

#include <QLocale>

#include <limits>

namespace {

// January 2026 has 21 working days (New Year's Day is its one weekday holiday). 3,000,000 won over
// 8-hour days is 17,857.14 won an hour this month and 17,241.38 over 21.75 days.
class DisplayTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
        setSchedule(1080, 3000000);
        freeze14th(10, 30);
        ASSERT_EQ(Cfg::workingDaysThisMonth(), 21);
    }
    void TearDown() override
    {
        Preview::demoState.reset();
        Preview::demoMode = false;
        Preview::demoWollu.reset();
        QLocale::setDefault(QLocale::system());
        EngineTest::TearDown();
    }
    static void setSchedule(qint64 workEnd, qint64 salary)
    {
        Cfg::save(540, workEnd, 720, 780, salary, true);
    }
    static double freeze14th(int h, int m)
    {
        freezeAt(2026, 1, 14, h, m);
        return Clock::now();
    }
};

TEST_F(DisplayTest, WorkingMorningShowsEarnedAndStillToEarn)
{
    const Display d = currentDisplay();
    EXPECT_EQ(d.title, QStringLiteral("열심히 일하는 중 🐜"));
    EXPECT_EQ(d.mascot, QStringLiteral("ant_work"));
    EXPECT_EQ(d.workedText, QStringLiteral("1시간 30분"));
    EXPECT_EQ(d.earnedText, QStringLiteral("(세전)26,786원 벌었어요"));
    EXPECT_EQ(d.remainWorkText, QStringLiteral("6시간 30분"));
    EXPECT_EQ(d.remainText, QStringLiteral("(세전)116,071원 벌어야 해요"));
    EXPECT_EQ(d.wolluText, QStringLiteral("아직 월루 0분, 집중 중! 🎯"));
    EXPECT_TRUE(d.showMoney);

    Pause::set(ManualState::away, Clock::now());
    EXPECT_EQ(currentDisplay().title, QStringLiteral("자리 비움 🚶"));
    freeze14th(12, 30); // lunch ignores the manual state
    EXPECT_EQ(currentDisplay().title, QStringLiteral("점심시간🍚"));
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

TEST_F(DisplayTest, DayOffHidesFiguresAndLeavingEndsTheDay)
{
    freezeAt(2026, 1, 17, 10, 30);
    Display d = currentDisplay();
    EXPECT_EQ(d.title + d.mood + d.mascot, QStringLiteral("오늘은 쉬는 날 😴푹 쉬어요home"));
    EXPECT_EQ(d.workedText + d.earnedText + d.remainWorkText, QStringLiteral("---"));
    EXPECT_EQ(d.remainText, QStringLiteral("즐거운 휴일"));

    freeze14th(19, 30);
    Eod::choose(QStringLiteral("left"));
    d = currentDisplay();
    EXPECT_EQ(d.status, (Status{DayState::done, 1, 480, 0, 90}));
    EXPECT_EQ(d.title, QStringLiteral("퇴근! 베짱이 타임 🌿"));
    EXPECT_EQ(d.remainText, QStringLiteral("퇴근 완료 🎉"));
    EXPECT_EQ(d.remainWorkText, QStringLiteral("0초"));
}

struct OvertimeCase
{
    qint64 workEnd;
    int h, m, dinnerFromH, dinnerToH; // dinner runs from :00 to :30 of dinnerFromH when set
    const char* remainText;
};

class OvertimePay : public DisplayTest, public ::testing::WithParamInterface<OvertimeCase>
{};

TEST_P(OvertimePay, PlainAtOneAndAHalfNightAtDouble)
{
    const OvertimeCase& c = GetParam();
    setSchedule(c.workEnd, 3000000);
    if (c.dinnerFromH > 0) {
        Dinner::begin(freeze14th(c.dinnerFromH, 0));
        Dinner::end(freeze14th(c.dinnerFromH, 30));
    }
    freeze14th(c.h, c.m);
    EXPECT_EQ(currentDisplay().remainText, QString::fromUtf8(c.remainText));
}

INSTANTIATE_TEST_SUITE_P(
    Table, OvertimePay,
    ::testing::Values(
        // 90 minutes before 22:00: 17,241.38 / 60 x 135.
        OvertimeCase{1080, 19, 30, 0, 0, "(세전)38,793원 더 벌었어요"},
        // 23:00: 240 plain and 60 night minutes, H x 8.
        OvertimeCase{1080, 23, 0, 0, 0, "(세전)137,931원 더 벌었어요"},
        // Half an hour of dinner at night leaves 240 plain and 30 night minutes, H x 7.
        OvertimeCase{1080, 23, 0, 22, 22, "(세전)120,690원 더 벌었어요"},
        // Ending at 23:00 (13-hour day, H = 10,610.08): all 30 minutes to 23:30 are night.
        OvertimeCase{1380, 23, 30, 0, 0, "(세전)10,610원 더 벌었어요"}));

TEST_F(DisplayTest, WithoutSalaryMoneyAsksForIt)
{
    setSchedule(1080, 0);
    Wollu::add(47 * 60);
    Display d = currentDisplay();
    EXPECT_FALSE(d.showMoney);
    EXPECT_EQ(d.earnedText + d.remainText, QStringLiteral("월급 설정 필요-"));
    EXPECT_EQ(d.wolluText, QStringLiteral("⏰ 47분 딴짓"));
    EXPECT_TRUE(d.wolluHot && d.wolluMoneyText.isEmpty() && d.wolluPctText.isEmpty());
    freeze14th(19, 0);
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
    // Next to nothing earned: the share is bounded instead of overflowing; nothing earned: 0.
    d = buildDisplay({DayState::working, 0, 1e-12, 480, 0});
    EXPECT_EQ(d.wolluPctText, QStringLiteral("지금까지 번 돈의 999999% 월루했어요"));
    d = buildDisplay({DayState::before, 0, 0, 480, 0});
    EXPECT_EQ(d.wolluPctText, QStringLiteral("지금까지 번 돈의 0% 월루했어요"));

    Wollu::toggleHidden();
    EXPECT_EQ(buildDisplay(earned84300).wolluText, QStringLiteral("🙈 월루 숨김 중"));
    Wollu::setDisabled(true);
    d = buildDisplay(earned84300);
    EXPECT_EQ(d.wolluText, QStringLiteral("😴 월루 추적 중단됨"));
    EXPECT_FALSE(d.wolluHot || !d.wolluMoneyText.isEmpty() || !d.wolluPctText.isEmpty());
}

TEST_F(DisplayTest, UnderAMinuteOfSlackingReadsAsNone)
{
    Wollu::add(59);
    EXPECT_EQ(currentDisplay().wolluText, QStringLiteral("아직 월루 0분, 집중 중! 🎯"));
    Preview::demoWollu = Preview::DemoWollu{std::numeric_limits<double>::quiet_NaN(), false, false};
    EXPECT_EQ(currentDisplay().wolluText, QStringLiteral("아직 월루 0분, 집중 중! 🎯"));
    Preview::demoWollu = Preview::DemoWollu{900, false, false};
    EXPECT_EQ(currentDisplay().wolluText, QStringLiteral("⏰ 15분 딴짓"));
}

TEST_F(DisplayTest, PreviewStateShowsItsFixedStatus)
{
    Preview::demoState = DayState::before;
    const Display d = currentDisplay();
    EXPECT_EQ(d.status, (Status{DayState::working, 0.55, 264, 216, 0}));
    EXPECT_EQ(d.title, QStringLiteral("열심히 일하는 중 🐜"));
    Preview::demoState = DayState::overtime;
    EXPECT_EQ(currentDisplay().remainWorkText, QStringLiteral("1시간 12분"));
}

TEST_F(DisplayTest, HugeSalaryStopsAtTheEdgeOfTheFormattedRange)
{
    // A one-minute day puts the hourly rate itself beyond the 64-bit range.
    Cfg::save(540, 541, 0, 0, std::numeric_limits<qint64>::max(), true);
    EXPECT_TRUE(currentDisplay().earnedText.endsWith(QStringLiteral("원 벌었어요")));
    freeze14th(23, 0);
    EXPECT_EQ(currentDisplay().remainText,
              QStringLiteral("(세전)9,223,372,036,854,774,784원 더 벌었어요"));
}

} // namespace
