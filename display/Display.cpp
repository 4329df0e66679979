// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/Display.h"

#include "display/Format.h"
#include "display/Pay.h"
#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/Eod.h"
#include "engine/Holidays.h"
#include "engine/Pause.h"
#include "engine/Preview.h"
#include "slacking/Wollu.h"

#include <optional>

#include <algorithm>
#include <cmath>

namespace {

// A share this large only arises when the earnings are a sliver of a won; the bound keeps the
// figure printable and its conversion defined.
constexpr double kMaxWolluShare = 999999;

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

struct Header
{
    const char16_t* title;
    const char16_t* mood;
    const char16_t* mascot;
};

// A day off of the user's own: the salary pays for it, so the titles say so.
std::optional<Header> dayOffHeader(const Status& s)
{
    if (!s.dayOff)
        return std::nullopt;
    switch (*s.dayOff) {
    case DayOffPart::fullDay:
        return Header{u"오늘은 유급 휴가 🏖️", u"쉬어도 월급은 출근 중", u"home"};
    case DayOffPart::morning:
        if (s.state == DayState::before)
            return Header{u"오전 반차 ☀️", u"오전 월급은 벌써 내 거", u"home"};
        break;
    case DayOffPart::afternoon:
        break;
    }
    if (s.state == DayState::done)
        return Header{u"반차 퇴근! 🌿", u"남은 하루는 온전히 내 거", u"home"};
    return std::nullopt;
}

// What the panel calls a public holiday, and its picture: the names people use ("성탄절", not
// the official "기독탄신일"), short enough for the title line.
struct HolidayTitle
{
    const char16_t* officialName;
    const char16_t* title;
};
constexpr HolidayTitle kHolidayTitles[] = {
    {u"신정", u"오늘은 신정 🎍"},
    {u"설날", u"오늘은 설날 🧧"},
    {u"삼일절", u"오늘은 삼일절 🎉"},
    {u"노동절", u"오늘은 노동절 🛠️"},
    {u"어린이날", u"오늘은 어린이날 🎈"},
    {u"부처님 오신 날", u"부처님오신날 🪷"},
    {u"현충일", u"오늘은 현충일 🕊️"},
    {u"제헌절", u"오늘은 제헌절 📜"},
    {u"광복절", u"오늘은 광복절 🎉"},
    {u"추석", u"오늘은 추석 🌕"},
    {u"개천절", u"오늘은 개천절 🎉"},
    {u"한글날", u"오늘은 한글날 📖"},
    {u"기독탄신일", u"오늘은 성탄절 🎄"},
    {u"대체공휴일", u"오늘은 대체공휴일 😴"},
    {u"선거일", u"오늘은 선거일 🗳️"},
};

std::optional<QString> computeHolidayTitle(const QDate& date)
{
    if (!Holidays::isHoliday(date))
        return std::nullopt;
    for (const Holidays::Named& holiday : Holidays::named(date.year())) {
        if (holiday.date != date)
            continue;
        // A day with two names ("설날, 대체공휴일") is called by its first.
        const QString name = holiday.name.section(QStringLiteral(", "), 0, 0);
        for (const HolidayTitle& t : kHolidayTitles)
            if (name.startsWith(QString::fromUtf16(t.officialName)) ||
                name.endsWith(QString::fromUtf16(t.officialName)))
                return QString::fromUtf16(t.title);
        return QStringLiteral("오늘은 공휴일 😴");
    }
    return QStringLiteral("오늘은 공휴일 😴");
}

// The title of a public holiday that is today's day off, or none (a weekend, or no holiday).
// Naming holidays builds the whole year's calendar: the day's answer is kept, as the view is
// built every second.
std::optional<QString> holidayTitle(const QDate& date)
{
    thread_local QDate keptDate;
    thread_local std::optional<QString> kept;
    if (date != keptDate) {
        kept = computeHolidayTitle(date);
        keptDate = date;
    }
    return kept;
}

Header headerFor(DayState state)
{
    switch (state) {
    case DayState::off:
        return {u"오늘은 쉬는 날 😴", u"푹 쉬어요", u"home"};
    case DayState::before:
    case DayState::working:
        // The manual state only colours the phases in which the user is expected at the desk.
        switch (Pause::state()) {
        case ManualState::rest:
            return {u"잠깐 휴식 중 ☕", u"톡웍도 한숨 돌리는 중", u"ant_work"};
        case ManualState::away:
            return {u"자리 비움 🚶", u"곧 돌아올게요", u"ant_work"};
        case ManualState::work:
            break;
        }
        if (state == DayState::before)
            return {u"출근 준비 🐜", u"오늘도 톡웍 파이팅", u"ant_work"};
        return {u"열심히 일하는 중 🐜", u"개미는 톡웍 오늘도 톡웍", u"ant_work"};
    case DayState::lunch:
        return {u"점심시간 🍚", u"든든하게 충전 중", u"ant_lunch"};
    case DayState::overtime:
        return {u"야근 중… 🐜💦", u"무리하지 말아요", u"ant_over"};
    case DayState::dinner:
        return {u"저녁 식사 중 🍚", u"맛있게 드세요", u"ant_lunch"};
    case DayState::done:
        return {u"퇴근! 베짱이 타임 🌿", u"오늘도 수고했어요", u"home"};
    }
    return {u"", u"", u"home"};
}

qint64 wolluSharePercent(double wolluWon, double earnedWon)
{
    if (!(earnedWon > 0))
        return 0;
    const double share = std::round(wolluWon / earnedWon * 100.0);
    if (!std::isfinite(share))
        return share > 0 ? static_cast<qint64>(kMaxWolluShare) : 0;
    return static_cast<qint64>(std::clamp(share, 0.0, kMaxWolluShare));
}

// No slacking yet: at the desk that is focus; at lunch, on a day off or after work it is
// simply none.
QString noSlackingText(DayState state)
{
    switch (state) {
    case DayState::off:
        return QStringLiteral("오늘은 월루 0분 😴");
    case DayState::lunch:
    case DayState::dinner:
        return QStringLiteral("아직 월루 0분, 식사 중 🍚");
    case DayState::done:
        return QStringLiteral("오늘 월루 0분 🎯");
    case DayState::before:
    case DayState::working:
        // A break of one's own is no focus either.
        if (!Preview::demoState && Pause::state() != ManualState::work)
            return QStringLiteral("아직 월루 0분, 쉬는 중 ☕");
        break;
    case DayState::overtime:
        break;
    }
    return QStringLiteral("아직 월루 0분, 집중 중! 🎯");
}

void fillWollu(Display& d, double hourly, double earnedWon)
{
    Preview::DemoWollu wollu;
    if (Preview::demoWollu) {
        wollu = *Preview::demoWollu;
    } else {
        wollu.disabled = Wollu::disabled();
        wollu.hidden = !wollu.disabled && Wollu::hidden();
        if (!wollu.disabled && !wollu.hidden)
            wollu.sec = Wollu::seconds();
    }

    d.wolluHot = false;
    if (wollu.disabled) {
        d.wolluText = QStringLiteral("😴 월루 추적 중단됨");
        return;
    }
    if (wollu.hidden) {
        d.wolluText = QStringLiteral("🙈 월루 숨김 중");
        return;
    }
    d.wolluShown = true;
    const double slackSec = finiteOrZero(wollu.sec);
    const double slackMin = slackSec / 60.0;
    if (slackMin < 1) {
        d.wolluText = noSlackingText(d.status.state);
        return;
    }
    d.wolluHot = true;
    d.wolluText = QStringLiteral("⏰ ") + fmtDurSec(slackMin) + QStringLiteral(" 딴짓");
    if (hourly <= 0)
        return;
    const double wolluWon = hourly * slackSec / 3600.0;
    d.wolluMoneyText = QStringLiteral("💰 ") + fmtWon(wolluWon) + QStringLiteral(" 월루");
    d.wolluPctText = QStringLiteral("지금까지 번 돈의 ") +
                     QString::number(wolluSharePercent(wolluWon, earnedWon)) +
                     QStringLiteral("% 월루했어요");
}

// The fixed statuses the "--state" preview shows instead of the real day.
Status demoStatus(DayState state)
{
    switch (state) {
    case DayState::off:
        return {DayState::off, 0, 0, 0, 0};
    case DayState::before:
    case DayState::working:
        return {DayState::working, 0.55, 264, 216, 0};
    case DayState::lunch:
        return {DayState::lunch, 0.4, 192, 288, 0};
    case DayState::overtime:
        return {DayState::overtime, 1, 480, 0, 72};
    case DayState::dinner:
        return {DayState::dinner, 1, 480, 0, 30};
    case DayState::done:
        return {DayState::done, 1, 480, 0, 0};
    }
    return {};
}

// `overtimeWonAfterLeaving`: what the day's overtime earned until the user left it, shown in
// the done phase that follows.
Display buildDisplay(const Status& s, double overtimeWonAfterLeaving)
{
    Display d;
    d.status = s;
    const bool off = s.state == DayState::off;
    const bool overtime = s.state == DayState::overtime || s.state == DayState::dinner;

    const Header header = dayOffHeader(s).value_or(headerFor(s.state));
    d.title = QString::fromUtf16(header.title);
    // A public holiday is named (the fixed scenes of previews show no particular day).
    if (s.state == DayState::off && !s.dayOff && !Preview::demoState)
        if (const std::optional<QString> holiday = holidayTitle(Clock::nowLocal().date()))
            d.title = *holiday;
    d.mood = QString::fromUtf16(header.mood);
    d.mascot = QString::fromUtf16(header.mascot);

    const QString dash = QStringLiteral("-");
    d.workedText = off ? dash : fmtDurSec(s.workedMin);
    if (off)
        d.remainWorkText = dash;
    else
        d.remainWorkText = fmtDurSec(overtime ? s.overtimeMin : s.remainMin);

    const DayPay pay = dayPay(s);
    const double hourly = pay.hourlyWon;
    d.showMoney = hourly > 0;
    // A paid day off has earned its pay without a minute worked.
    const bool paidOff = off && s.dayOff.has_value();
    const QString missingSalary = QStringLiteral("월급 설정 필요");
    const bool tagged = !Preview::demoMode && Cfg::salaryPretax() && Cfg::showPretaxTag();
    const QString tag = tagged ? QStringLiteral("(세전)") : QString();

    const double earnedWon = pay.earnedWon;
    if (off && !paidOff)
        d.earnedText = dash;
    else if (!d.showMoney)
        d.earnedText = missingSalary;
    else
        d.earnedText = tag + fmtWon(earnedWon) + QStringLiteral(" 벌었어요");

    switch (s.state) {
    case DayState::overtime:
    case DayState::dinner:
        if (!d.showMoney)
            d.remainText = missingSalary;
        else
            d.remainText = tag + fmtWon(pay.overtimeWon) + QStringLiteral(" 더 벌었어요");
        break;
    case DayState::done:
        d.remainText = QStringLiteral("퇴근 완료 🎉");
        // The overtime worked before leaving stays in the day's view.
        if (d.showMoney && std::round(overtimeWonAfterLeaving) >= 1)
            d.remainText += QStringLiteral(" +") + fmtWon(overtimeWonAfterLeaving);
        break;
    case DayState::off:
        d.remainText =
            paidOff ? QStringLiteral("오늘 일당 전액 적립 🎉") : QStringLiteral("즐거운 휴일");
        break;
    case DayState::before:
        d.remainText = QStringLiteral("곧 근무 시작");
        break;
    case DayState::lunch:
    case DayState::working:
        if (d.showMoney)
            d.remainText = tag + fmtWon(pay.remainWon) + QStringLiteral(" 벌어야 해요");
        else
            d.remainText = dash;
        break;
    }

    const double overtimeWon = overtime ? pay.overtimeWon : finiteOrZero(overtimeWonAfterLeaving);
    if (d.showMoney && (!off || paidOff))
        d.totalText = tag + fmtWon(earnedWon + overtimeWon) + QStringLiteral(" 벌었어요");

    fillWollu(d, hourly, earnedWon);
    return d;
}

} // namespace

Display buildDisplay(const Status& s)
{
    return buildDisplay(s, 0);
}

Display currentDisplay()
{
    if (Preview::demoState)
        return buildDisplay(demoStatus(*Preview::demoState));

    Status s = computeStatus(Clock::now());
    double overtimeWonAfterLeaving = 0;
    if ((s.state == DayState::overtime || s.state == DayState::dinner) && Eod::leftToday()) {
        s.state = DayState::done;
        s.progress = 1;
        s.remainMin = 0;
        // The overtime ends where the user left; without the instant (an answer given by an
        // older version) it is not known and not shown.
        if (const std::optional<double> leftAt = Eod::leftAt()) {
            const Status then = computeStatus(*leftAt);
            const bool late = then.state == DayState::overtime || then.state == DayState::dinner;
            s.overtimeMin = late ? then.overtimeMin : 0;
            overtimeWonAfterLeaving = late ? dayPay(then, *leftAt).overtimeWon : 0;
        }
    }
    return buildDisplay(s, overtimeWonAfterLeaving);
}
