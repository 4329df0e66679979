// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EngineTestSupport.h"

#include "display/Display.h"
#include "engine/Dinner.h"
#include "engine/Eod.h"
#include "engine/Pause.h"
#include "slacking/Wollu.h"

#include <QLocale>

#include "display/Format.h"
#include <cmath>
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
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::system());
        EngineTest::TearDown();
    }
    static void setSchedule(qint64 end, qint64 won) { Cfg::save(540, end, 720, 780, won, true); }
    // The panel's texts in reading order.
    static QString texts(const Display& d = currentDisplay())
    {
        return QStringList{d.title, d.workedText, d.earnedText, d.remainWorkText, d.remainText}
            .join(QStringLiteral(" | "));
    }
};

TEST_F(DisplayTest, WorkingMorningShowsEarnedAndStillToEarn)
{
    const Display d = currentDisplay();
    EXPECT_EQ(texts(d),
              QStringLiteral("열심히 일하는 중 🐜 | 1시간 30분 | (세전)26,786원 벌었어요 | "
                             "6시간 30분 | (세전)116,071원 벌어야 해요"));
    EXPECT_TRUE(d.showMoney && d.mascot == QStringLiteral("ant_work"));
    Wollu::add(59); // under a minute reads as none
    EXPECT_EQ(currentDisplay().wolluText, QStringLiteral("아직 월루 0분, 집중 중! 🎯"));
    // The tag needs a pretax salary and the switch.
    Cfg::setShowPretaxTag(false);
    EXPECT_EQ(currentDisplay().earnedText, QStringLiteral("26,786원 벌었어요"));
    Cfg::setShowPretaxTag(true);
    Cfg::setSalaryPretax(false);
    EXPECT_EQ(currentDisplay().remainText, QStringLiteral("116,071원 벌어야 해요"));

    Pause::set(ManualState::away, Clock::now());
    EXPECT_EQ(currentDisplay().title, QStringLiteral("자리 비움 🚶"));
    freeze14th(12, 30); // lunch ignores the manual state
    EXPECT_EQ(currentDisplay().title, QStringLiteral("점심시간 🍚"));
}

TEST_F(DisplayTest, DayOffHidesFiguresAndLeavingEndsTheDay)
{
    freezeAt(2026, 1, 17, 10, 30);
    EXPECT_EQ(texts(), QStringLiteral("오늘은 쉬는 날 😴 | - | - | - | 즐거운 휴일"));

    freeze14th(19, 30);
    Eod::choose(QStringLiteral("left"));
    EXPECT_EQ(currentDisplay().status, (Status{DayState::done, 1, 480, 0, 90}));
    // What the 90 minutes of overtime added stays in the day's view and in its whole pay...
    EXPECT_EQ(texts(), QStringLiteral("퇴근! 베짱이 타임 🌿 | 8시간 | (세전)142,857원 벌었어요 | "
                                      "0초 | 퇴근 완료 🎉 +38,793원"));
    EXPECT_EQ(currentDisplay().totalText, QStringLiteral("(세전)181,650원 벌었어요"));
    // ...and does not grow after leaving, even into the night rate.
    freeze14th(23, 0);
    EXPECT_EQ(currentDisplay().status.overtimeMin, 90);
    EXPECT_EQ(currentDisplay().remainText, QStringLiteral("퇴근 완료 🎉 +38,793원"));

    // Leaving at the prompt when the day ends adds nothing to show.
    freeze14th(18, 0);
    Eod::choose(QStringLiteral("left"));
    freeze14th(20, 0);
    EXPECT_EQ(currentDisplay().remainText, QStringLiteral("퇴근 완료 🎉"));
    EXPECT_EQ(currentDisplay().totalText, QStringLiteral("(세전)142,857원 벌었어요"));
}

// The tray's tooltip carries the whole day, overtime included, as the panel's two rows add up.
TEST_F(DisplayTest, TheWholeDayCountsOvertimeAndNothingIsMadeUp)
{
    EXPECT_EQ(currentDisplay().totalText, currentDisplay().earnedText);
    freeze14th(19, 30);
    const Display late = currentDisplay();
    EXPECT_EQ(late.earnedText + late.remainText,
              QStringLiteral("(세전)142,857원 벌었어요(세전)38,793원 더 벌었어요"));
    EXPECT_EQ(late.totalText, QStringLiteral("(세전)181,650원 벌었어요"));
    setSchedule(1080, 0);
    EXPECT_EQ(currentDisplay().totalText, QString());
    setSchedule(1080, 3000000);
    freezeAt(2026, 1, 17, 10, 30);
    EXPECT_EQ(currentDisplay().totalText, QString()) << "nothing earned on a day off";
}

// A public holiday is named in the voice of the other titles; "집중 중!" is said only where the
// user is expected at the desk.
TEST_F(DisplayTest, HolidaysAreNamedAndFocusIsPraisedOnlyAtTheDesk)
{
    const struct
    {
        int y, m, d;
        const char* title;
    } days[] = {{2026, 12, 25, "오늘은 성탄절 🎄"},      {2026, 1, 1, "오늘은 신정 🎍"},
                {2026, 2, 17, "오늘은 설날 🧧"}, {2026, 9, 25, "오늘은 추석 🌕"},
                {2026, 10, 9, "오늘은 한글날 📖"},       {2026, 1, 17, "오늘은 쉬는 날 😴"}};
    for (const auto& day : days) {
        freezeAt(day.y, day.m, day.d, 10, 30);
        const Display d = currentDisplay();
        EXPECT_EQ(d.title, QString::fromUtf8(day.title)) << day.m << "-" << day.d;
        EXPECT_EQ(d.mood, QStringLiteral("푹 쉬어요"));
        EXPECT_FALSE(d.wolluText.contains(QStringLiteral("집중 중"))) << day.m << "-" << day.d;
    }
    for (const auto& [h, m] : {std::pair{12, 30}, std::pair{19, 0}}) {
        freeze14th(h, m);
        if (h == 19) {
            Dinner::begin(Clock::now());
        }
        EXPECT_FALSE(currentDisplay().wolluText.contains(QStringLiteral("집중 중"))) << h;
        EXPECT_EQ(currentDisplay().wolluText, QStringLiteral("아직 월루 0분, 식사 중 🍚")) << h;
    }
    freeze14th(10, 30);
    EXPECT_EQ(currentDisplay().wolluText, QStringLiteral("아직 월루 0분, 집중 중! 🎯"));
    Pause::set(ManualState::rest, Clock::now());
    EXPECT_EQ(currentDisplay().wolluText, QStringLiteral("아직 월루 0분, 쉬는 중 ☕"));
}

// Ever shorter forms of a money line for a place too narrow for it: the tag goes first.
TEST(MoneyLineForms, DropTheTagThenTheWordsThenDigits)
{
    QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
    EXPECT_EQ(moneyLineForms(QStringLiteral("(세전)120,768원 더 벌었어요")),
              (QStringList{"(세전)120,768원 더 벌었어요", "120,768원 더 벌었어요", "120,768원",
                           "12만원", "0.0억원"}));
    EXPECT_EQ(
        moneyLineForms(QStringLiteral("퇴근 완료 🎉 +574,712,643원")),
        (QStringList{"퇴근 완료 🎉 +574,712,643원", "+574,712,643원", "+57,471만원", "+5.7억원"}));
    // Nothing to shorten without an amount.
    for (const char* text : {"퇴근 완료 🎉", "월급 설정 필요", "-"})
        EXPECT_EQ(moneyLineForms(QString::fromUtf8(text)), QStringList{QString::fromUtf8(text)});
    // Grouped by another locale's mark, the amount is still read whole.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(moneyLineForms(QStringLiteral("84.300원 벌었어요")).at(1),
              QStringLiteral("84.300원"));
    QLocale::setDefault(QLocale::system());
}

TEST_F(DisplayTest, OvertimePaysOneAndAHalfAndNightDouble)
{
    struct C
    {
        qint64 workEnd;
        int h, m;
        bool dinner; // from 22:00 to 22:30
        const char* remainText;
    };
    for (const C& c : {// 90 minutes before 22:00: 17,241.38 / 60 x 135.
                       C{1080, 19, 30, false, "(세전)38,793원 더 벌었어요"},
                       // 23:00: 240 plain and 60 night minutes, H x 8.
                       C{1080, 23, 0, false, "(세전)137,931원 더 벌었어요"},
                       // Ending at 23:00 (13-hour day, H = 10,610.08): 23:00-23:30 is all night.
                       C{1380, 23, 30, false, "(세전)10,610원 더 벌었어요"},
                       // Half an hour of dinner at night leaves 240 plain and 30 night minutes.
                       C{1080, 23, 0, true, "(세전)120,690원 더 벌었어요"}}) {
        setSchedule(c.workEnd, 3000000);
        if (c.dinner) {
            Dinner::begin(freeze14th(22, 0));
            Dinner::end(freeze14th(22, 30));
        }
        freeze14th(c.h, c.m);
        EXPECT_EQ(currentDisplay().remainText, QString::fromUtf8(c.remainText));
    }
}

TEST_F(DisplayTest, WithoutSalaryMoneyAsksForIt)
{
    setSchedule(1080, 0);
    Wollu::add(47 * 60);
    const Display d = currentDisplay();
    EXPECT_EQ(d.earnedText + d.remainText + d.wolluText,
              QStringLiteral("월급 설정 필요-⏰ 47분 딴짓"));
    EXPECT_TRUE(!d.showMoney && d.wolluHot && d.wolluMoneyText.isEmpty() &&
                d.wolluPctText.isEmpty());
}

TEST_F(DisplayTest, SlackingShowsTimeMoneyAndShareOfEarnings)
{
    setSchedule(1080, 2856000); // exactly 17,000 won an hour over 21 days
    const Status earned84300{DayState::working, 0.6, 84300.0 / 17000 * 60, 180, 0};
    Wollu::add(47 * 60);
    Display d = buildDisplay(earned84300);
    EXPECT_EQ(d.wolluText + d.wolluMoneyText, QStringLiteral("⏰ 47분 딴짓💰 13,317원 월루"));
    EXPECT_EQ(d.wolluPctText, QStringLiteral("지금까지 번 돈의 16% 월루했어요"));
    EXPECT_TRUE(d.wolluHot);
    // Next to nothing earned: the share is bounded instead of overflowing; nothing earned: 0.
    EXPECT_EQ(buildDisplay({DayState::working, 0, 1e-12, 480, 0}).wolluPctText,
              QStringLiteral("지금까지 번 돈의 999999% 월루했어요"));
    EXPECT_EQ(buildDisplay({DayState::before, 0, 0, 480, 0}).wolluPctText,
              QStringLiteral("지금까지 번 돈의 0% 월루했어요"));

    Wollu::toggleHidden();
    EXPECT_EQ(buildDisplay(earned84300).wolluText, QStringLiteral("🙈 월루 숨김 중"));
    Wollu::setDisabled(true);
    d = buildDisplay(earned84300);
    EXPECT_EQ(d.wolluText, QStringLiteral("😴 월루 추적 중단됨"));
    EXPECT_FALSE(d.wolluHot || !d.wolluMoneyText.isEmpty() || !d.wolluPctText.isEmpty());
}

constexpr double kInf = std::numeric_limits<double>::infinity();
struct Case
{
    double value;
    const char* text;
};

// Rounds half away from zero, groups digits, and stops at the edge of the 64-bit range.
TEST(FmtWon, FollowsTheUserLocaleButNeverPrintsUngroupedInTheCLocale)
{
    for (const QLocale& locale : {QLocale(QLocale::Korean, QLocale::SouthKorea), QLocale::c()}) {
        QLocale::setDefault(locale);
        for (const Case& c :
             {Case{84300.4, "84,300원"}, Case{0.5, "1원"}, Case{-0.5, "-1원"}, Case{-0.4, "0원"},
              Case{999.5, "1,000원"}, Case{-1234567.5, "-1,234,568원"},
              Case{1e30, "9,223,372,036,854,774,784원"},
              Case{-1e30, "-9,223,372,036,854,774,784원"}, Case{std::nan(""), "0원"},
              Case{-kInf, "0원"}})
            EXPECT_EQ(fmtWon(c.value), QString::fromUtf8(c.text)) << c.value;
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(fmtWon(84300), QStringLiteral("84.300원"));
    QLocale::setDefault(QLocale::system());
}

TEST(FmtDurSec, ShowsHoursMinutesAndSecondsThatAreNotZero)
{
    for (const Case& c :
         {Case{65.05, "1시간 5분 3초"}, Case{45, "45분"}, Case{120, "2시간"}, Case{0.5, "30초"},
          Case{0.001, "0초"}, Case{59.5 / 60, "1분"}, Case{3601.0 / 60, "1시간 1초"},
          Case{-5, "0초"}, Case{std::nan(""), "0초"}, Case{kInf, "0초"},
          // Seconds beyond the 64-bit range stop at its edge: 2^63 - 1024 seconds.
          Case{1e300, "2562047788015215시간 13분 4초"}})
        EXPECT_EQ(fmtDurSec(c.value), QString::fromUtf8(c.text)) << c.value;
}

TEST(FmtMinutes, ShowsRoundedHoursAndMinutesNeverBelowZero)
{
    for (const Case& c : {Case{190.4, "3시간 10분"}, Case{480, "8시간"}, Case{0, "0분"},
                          Case{59.5, "1시간"}, Case{0.49, "0분"}, Case{61, "1시간 1분"},
                          Case{-3, "0분"}, Case{std::nan(""), "0분"}, Case{kInf, "0분"},
                          // Beyond the 64-bit range it stops at the edge instead of overflowing.
                          Case{1e300, "153722867280912913시간 4분"}})
        EXPECT_EQ(fmtMinutes(c.value), QString::fromUtf8(c.text)) << c.value;
}

} // namespace
