// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/DemoDisplays.h"

#include "display/Display.h"
#include "ledger/DayRecord.h"
#include "ui/panel/HistoryStrip.h"
#include "ui/panel/PanelVC.h"
#include "ui/toolkit/GlassPanel.h"

#include "engine/Preview.h"

#include <algorithm>
#include <array>

namespace {

Display makeScene(Status status, const char16_t* mascot, const char16_t* title,
                  const char16_t* mood, const char16_t* worked, const char16_t* earned,
                  const char16_t* remainWork, const char16_t* remain)
{
    Display d;
    d.status = status;
    d.mascot = QString::fromUtf16(mascot);
    d.title = QString::fromUtf16(title);
    d.mood = QString::fromUtf16(mood);
    d.workedText = QString::fromUtf16(worked);
    d.earnedText = QString::fromUtf16(earned);
    d.remainWorkText = QString::fromUtf16(remainWork);
    d.remainText = QString::fromUtf16(remain);
    d.showMoney = true;
    d.wolluText = QStringLiteral("⏰ 47분 딴짓");
    d.wolluMoneyText = QStringLiteral("💰 13,300원 월루");
    d.wolluPctText = QStringLiteral("번 돈의 16% 월루했어요");
    d.wolluHot = true;
    return d;
}

// A made-up week behind the fixed day: the same figures for the same dates, and today with the
// day's own pay and slacking, so the strip under the panel agrees with the figures above it.
HistoryStrip::RowSource sampleHistory(double todayWorkedMin, double todayWon,
                                      double todayOvertimeWon, double todaySlackSec)
{
    return [=](const QDate& from, const QDate& to) {
        QList<DayRecord> rows;
        for (QDate date = from; date <= to; date = date.addDays(1)) {
            if (date.dayOfWeek() > 5)
                continue;
            DayRecord row;
            row.date = date;
            row.workStart = 9 * 60;
            row.workEnd = 18 * 60;
            row.lunchStart = 12 * 60;
            row.lunchEnd = 13 * 60;
            row.hourlyWon = 17000; // 136,000 won for eight hours, as the scenes' figures
            if (date == to) {
                row.workedMin = todayWorkedMin;
                row.earnedWon = todayWon;
                row.overtimeWon = todayOvertimeWon;
                row.slackSec = todaySlackSec;
            } else {
                const qint64 n = date.toJulianDay();
                row.workedMin = 480;
                row.earnedWon = 136000;
                row.overtimeMin = n % 3 == 0 ? 70 : 0;
                row.overtimeWon = row.overtimeMin * 425;
                row.slackSec = double(600 + (n * 613) % 3000);
                row.eodChoice = QStringLiteral("left");
                row.final = true;
            }
            rows.append(row);
        }
        return rows;
    };
}

// Today's pay and overtime pay of each fixed scene, in won, as its texts show them.
std::pair<double, double> scenePay(DemoScene scene)
{
    switch (scene) {
    case DemoScene::working:
        return {84300, 0};
    case DemoScene::lunch:
        return {51000, 0};
    case DemoScene::overtime:
    case DemoScene::dinner:
        return {136000, 33150};
    case DemoScene::done:
        return {119000, 0};
    }
    return {0, 0};
}

void showSampleHistory(PanelVC* panel, DemoScene scene)
{
    const auto [won, overtimeWon] = scenePay(scene);
    panel->historyStrip()->setRowSource(
        sampleHistory(demoScene(scene).status.workedMin, won, overtimeWon, 47 * 60));
    panel->historyStrip()->reload();
}

} // namespace

const Display& demoScene(DemoScene scene)
{
    static const std::array<Display, 5> scenes{
        makeScene({DayState::working, 0.62, 298, 182, 0}, u"ant_work", u"열심히 일하는 중 🐜",
                  u"개미는 톡웍 오늘도 톡웍", u"4시간 58분", u"(세전)84,300원 벌었어요",
                  u"3시간 2분", u"(세전)51,600원 벌어야 해요"),
        makeScene({DayState::lunch, 0.4, 180, 300, 0}, u"ant_lunch", u"점심시간 🍚",
                  u"든든하게 충전 중", u"3시간", u"(세전)51,000원 벌었어요", u"5시간",
                  u"(세전)85,000원 벌어야 해요"),
        makeScene({DayState::overtime, 1, 480, 0, 65}, u"ant_over", u"야근 중… 🐜💦",
                  u"무리하지 말아요", u"8시간", u"(세전)136,000원 벌었어요", u"0분",
                  u"야근 +1시간 5분"),
        makeScene({DayState::dinner, 1, 480, 0, 65}, u"ant_lunch", u"저녁 식사 중 🍚",
                  u"맛있게 드세요", u"8시간", u"(세전)136,000원 벌었어요", u"1시간 5분",
                  u"(세전)33,150원 더 벌었어요"),
        makeScene({DayState::done, 1, 420, 0, 0}, u"home", u"퇴근! 베짱이 타임 🌿",
                  u"오늘도 수고했어요", u"7시간", u"(세전)119,000원 벌었어요", u"0분",
                  u"퇴근 완료 🎉"),
    };
    return scenes[size_t(scene)];
}

GlassPanel* demoPanel(DemoScene scene)
{
    auto* panel = new PanelVC;
    showSampleHistory(panel, scene);
    // A switch between light and dark re-reads the fixed day, never the user's.
    panel->setDisplaySource([scene] { return demoScene(scene); });
    panel->refresh();
    GlassPanel* window = makeGlassPanel(panel, false);
    QObject::connect(panel, &PanelVC::closeRequested, window, &QWidget::close);
    return window;
}

PanelVC* demoPanelView(DemoScene scene, bool dark, qreal pixelRatio)
{
    auto* panel = new PanelVC;
    panel->setAppearance(dark);
    panel->setPixelRatio(pixelRatio);
    showSampleHistory(panel, scene);
    panel->apply(demoScene(scene));
    return panel;
}

PanelVC* scriptedDemoPanel(int row, QString* caption)
{
    struct Row
    {
        const char16_t* caption;
        Status status;
        double slackingSec;
    };
    static const Row rows[] = {
        {u"근무중", {DayState::working, 0.55, 264, 216, 0}, 230},
        {u"점심시간", {DayState::lunch, 0.4, 192, 288, 0}, 900},
        {u"야근중", {DayState::overtime, 1, 480, 0, 72}, 3600},
        {u"퇴근", {DayState::done, 1, 480, 0, 0}, 4500},
    };
    if (row < 0 || row >= int(std::size(rows)))
        return nullptr;
    if (caption)
        *caption = QString::fromUtf16(rows[row].caption);
    // The day built once with the row's slacking, then kept: the panel shows it as fixed.
    const Status status = rows[row].status;
    const double slacking = rows[row].slackingSec;
    const auto display = [status, slacking] {
        const std::optional<Preview::DemoWollu> previous = Preview::demoWollu;
        Preview::demoWollu = Preview::DemoWollu{slacking, false, false};
        Display d = buildDisplay(status);
        Preview::demoWollu = previous;
        return d;
    };
    auto* panel = new PanelVC;
    panel->historyStrip()->setRowSource(sampleHistory(status.workedMin,
                                                      136000 * std::min(status.progress, 1.0),
                                                      status.overtimeMin * 425, slacking));
    panel->historyStrip()->reload();
    panel->setDisplaySource(display);
    panel->refresh();
    return panel;
}
