// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Analytics.h"
#include "display/Display.h"
#include "engine/Clock.h"
#include "engine/Pause.h"
#include "render/Appearance.h"
#include "render/Colors.h"
#include "render/MonaFont.h"
#include "render/Resources.h"
#include "render/TextImage.h"
#include "slacking/Wollu.h"
#include "ui/panel/BarView.h"
#include "ui/panel/HistoryStrip.h"
#include "ui/panel/PanelVC.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/MascotView.h"
#include "ui/toolkit/PixelImageView.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTextDocument>

#include <gtest/gtest.h>

#include "PanelParts.h"
#include "Sandbox.h"

namespace {

Display dayIn(DayState state, bool withMoney = true)
{
    Display d;
    d.status = {state, 0.62, 298, 182, state == DayState::overtime ? 65.0 : 0.0};
    d.mascot = QStringLiteral("ant_work");
    d.title = QStringLiteral("열심히 일하는 중 🐜");
    d.mood = QStringLiteral("개미는 톡웍 오늘도 톡웍");
    d.workedText = QStringLiteral("4시간 58분");
    d.earnedText = QStringLiteral("84,300원 벌었어요");
    d.remainWorkText = QStringLiteral("3시간 2분");
    d.remainText = QStringLiteral("51,600원 벌어야 해요");
    d.showMoney = true;
    d.wolluText = QStringLiteral("⏰ 47분 딴짓");
    if (withMoney) {
        d.wolluMoneyText = QStringLiteral("💰 13,300원 월루");
        d.wolluPctText = QStringLiteral("지금까지 번 돈의 16% 월루했어요");
    }
    d.wolluHot = true;
    return d;
}

// The label's text without markup.
QString plain(const QLabel* label)
{
    QTextDocument document;
    document.setHtml(label->text());
    return document.toPlainText();
}

bool sameImage(const QImage& a, const QImage& b)
{
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

// The build's art and pixel font, in place before the first widget asks for them.
struct BuiltAssets
{
    BuiltAssets()
    {
        Analytics::setDemoRun();
        Resources::setBundleDir(QStringLiteral(TOCKWORK_BUILT_SHARE_DIR));
        registerMonaFont();
    }
};

class PanelLayoutTest : public testing::Test
{
protected:
    QRectF frame(const QWidget* widget) const { return PanelVC::designFrame(widget); }
    double rowY(int i) const { return frame(rowLabels(panel)[i]).y(); }

    BuiltAssets assets;
    StoreSandbox store;
    FrozenClock clock{QDate(2025, 3, 12), QTime(10, 0)};
    PanelVC panel;
};

TEST_F(PanelLayoutTest, TheButtonHeightComesFromThePixelFont)
{
    // The bundled pixel font sets a 12-point line 16 points high: chips are 32 high, and a late
    // panel 449 + 32 + 12 = 493 (a font with a 14-point line gives 30 and 491).
    ASSERT_TRUE(monaAvailable());
    EXPECT_EQ(panel.btnH(), 32);
}

TEST_F(PanelLayoutTest, WorkingWithSlackingMoneyIsTheFullPanel)
{
    // The history strip (84 high, 8 apart) lifts everything from the band up by 92.
    panel.apply(dayIn(DayState::working));
    EXPECT_EQ(panel.height(), 449);
    EXPECT_EQ(panel.width(), 256);
    EXPECT_EQ(frame(part<MascotView>(panel, "mascot")), QRectF(16, 355, 92, 78));
    EXPECT_EQ(frame(part<PixelImageView>(panel, "title")), QRectF(116, 392, 126, 24));
    EXPECT_EQ(frame(part<PixelImageView>(panel, "mood")), QRectF(116, 413, 126, 18));
    EXPECT_EQ(frame(part<BarView>(panel, "bar")), QRectF(114, 359, 126, 32));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(rowY(i), 311 - 24 * i);
        EXPECT_EQ(frame(valueLabels(panel)[i]), QRectF(84, 310 - 24 * i, 156, 22));
    }
    EXPECT_EQ(frame(part<QWidget>(panel, "slackingBand")), QRectF(16, 148, 224, 77));
    EXPECT_EQ(frame(panel.historyStrip()), QRectF(16, 54, 224, 84));
    EXPECT_FALSE(panel.historyStrip()->isHidden());
    EXPECT_EQ(frame(part<PixelImageView>(panel, "slacking")).y(), 50);
    EXPECT_FALSE(part<PixelImageView>(panel, "slackingMoney")->isHidden());
    EXPECT_FALSE(part<PixelImageView>(panel, "slackingShare")->isHidden());
    EXPECT_TRUE(part<ChipButton>(panel, "leave")->isHidden());
    EXPECT_TRUE(part<ChipButton>(panel, "dinner")->isHidden());
    EXPECT_EQ(frame(chipButtons(panel)[0]), QRectF(16, 16, 106, panel.btnH()));
    EXPECT_EQ(frame(chipButtons(panel)[1]), QRectF(134, 16, 106, panel.btnH()));

    const QStringList titles{"오늘 열일", "지금까지", "남은 열일", "퇴근까지"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(plain(rowLabels(panel)[i]), titles[i]);
    EXPECT_EQ(plain(valueLabels(panel)[0]), "4시간 58분");
    EXPECT_EQ(plain(valueLabels(panel)[1]), "84,300원 벌었어요");
    // The amount still to earn is red while the working day runs.
    EXPECT_TRUE(
        valueLabels(panel)[3]->text().contains(wolluRedColor().name(), Qt::CaseInsensitive));
    EXPECT_FALSE(part<BarView>(panel, "bar")->overtime);
    EXPECT_EQ(part<BarView>(panel, "bar")->alpha2, 1.0);
}

TEST_F(PanelLayoutTest, WithoutSlackingMoneyTheBandShrinksAndEverythingAboveMovesDown)
{
    QSignalSpy heightChanges(&panel, &PanelVC::heightChanged);
    panel.apply(dayIn(DayState::working, false));
    EXPECT_EQ(panel.height(), 409);
    EXPECT_EQ(heightChanges.size(), 1);
    EXPECT_EQ(frame(part<MascotView>(panel, "mascot")).y(), 315);
    EXPECT_EQ(frame(part<BarView>(panel, "bar")).y(), 319);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(rowY(i), 271 - 24 * i);
    // The band keeps its bottom edge above the strip, which does not move.
    EXPECT_EQ(frame(part<QWidget>(panel, "slackingBand")), QRectF(16, 148, 224, 37));
    EXPECT_EQ(frame(panel.historyStrip()), QRectF(16, 54, 224, 84));
    EXPECT_EQ(frame(part<PixelImageView>(panel, "slacking")).y(), 10);
    EXPECT_TRUE(part<PixelImageView>(panel, "slackingMoney")->isHidden());
    EXPECT_TRUE(part<PixelImageView>(panel, "slackingShare")->isHidden());

    // The same state again changes nothing: the window is not resized every second.
    panel.apply(dayIn(DayState::working, false));
    EXPECT_EQ(heightChanges.size(), 1);
    panel.apply(dayIn(DayState::working, true));
    EXPECT_EQ(heightChanges.size(), 2);
}

TEST_F(PanelLayoutTest, OvertimeRaisesTheTopAndShowsLeaveAndDinner)
{
    panel.apply(dayIn(DayState::overtime));
    const double btnH = panel.btnH();
    EXPECT_EQ(panel.height(), 449 + btnH + 12);
    EXPECT_EQ(frame(part<MascotView>(panel, "mascot")).y(), 355 + btnH + 12);
    EXPECT_EQ(rowY(0), 311 + btnH + 12);
    EXPECT_EQ(frame(part<ChipButton>(panel, "dinner")), QRectF(16, 235, 224, btnH));
    EXPECT_FALSE(part<ChipButton>(panel, "dinner")->isHidden());
    EXPECT_TRUE(sameImage(
        part<ChipButton>(panel, "dinner")->image(),
        renderMonaLine("저녁 먹고 올게요", mona(12), inkColor(), panel.devicePixelRatioF())));
    EXPECT_EQ(plain(rowLabels(panel)[2]), "추가 열일");
    EXPECT_EQ(plain(rowLabels(panel)[3]), "추가 수당");
    EXPECT_TRUE(
        valueLabels(panel)[3]->text().contains(moneyGreenColor().name(), Qt::CaseInsensitive));
    EXPECT_TRUE(part<BarView>(panel, "bar")->overtime);

    // The leave link sits right after the title's text, centred on the title line, inside the
    // panel's right margin.
    ASSERT_FALSE(part<ChipButton>(panel, "leave")->isHidden());
    const QRectF leave = frame(part<ChipButton>(panel, "leave"));
    const QRectF title = frame(part<PixelImageView>(panel, "title"));
    EXPECT_LE(leave.right(), 256 - 16);
    EXPECT_NEAR(leave.center().y(), title.center().y(), 1);
    EXPECT_GE(leave.left(), title.left() + 8);

    // Back in a normal state the late rows and buttons go away again.
    panel.apply(dayIn(DayState::done));
    EXPECT_EQ(panel.height(), 449);
    EXPECT_EQ(plain(rowLabels(panel)[2]), "남은 열일");
    EXPECT_TRUE(part<ChipButton>(panel, "leave")->isHidden());
    EXPECT_TRUE(part<ChipButton>(panel, "dinner")->isHidden());
}

// A break of one's own: "다시 일하기" where the dinner button sits in overtime, and it ends the
// break.
TEST_F(PanelLayoutTest, ABreakOffersTheWayBackWhereTheDinnerButtonSits)
{
    for (const ManualState manual : {ManualState::rest, ManualState::away}) {
        Pause::set(manual, Clock::now());
        panel.apply(dayIn(DayState::working));
        const double btnH = panel.btnH();
        EXPECT_EQ(panel.height(), 449 + btnH + 12);
        ASSERT_FALSE(part<ChipButton>(panel, "backToWork")->isHidden());
        EXPECT_EQ(frame(part<ChipButton>(panel, "backToWork")), QRectF(16, 235, 224, btnH));
        EXPECT_TRUE(sameImage(
            part<ChipButton>(panel, "backToWork")->image(),
            renderMonaLine("다시 일하기", mona(12), inkColor(), panel.devicePixelRatioF())));
        EXPECT_TRUE(part<ChipButton>(panel, "dinner")->isHidden());
        EXPECT_TRUE(part<ChipButton>(panel, "leave")->isHidden());
        EXPECT_EQ(plain(rowLabels(panel)[2]), "남은 열일");

        QSignalSpy updates(&panel, &PanelVC::updateRequested);
        part<ChipButton>(panel, "backToWork")->click();
        EXPECT_EQ(Pause::state(), ManualState::work);
        EXPECT_EQ(updates.size(), 1);
    }
    // At work, and at lunch (which has no break of its own), there is nothing to come back from.
    panel.apply(dayIn(DayState::working));
    EXPECT_TRUE(part<ChipButton>(panel, "backToWork")->isHidden());
    EXPECT_EQ(panel.height(), 449);
    Pause::set(ManualState::rest, Clock::now());
    panel.apply(dayIn(DayState::lunch));
    EXPECT_TRUE(part<ChipButton>(panel, "backToWork")->isHidden());
}

// The widest amounts a salary of 100억 a month gives: none is ever cut at the panel's edge. The
// row's "(세전)" tag gives way first, then the words, then digits.
TEST_F(PanelLayoutTest, AmountsAreNeverClippedTheTagGivesWayFirst)
{
    const auto width = [](const QString& text) {
        double w = 0;
        for (const LineSegment& s : monaLineSegments(text, mona(12)))
            w += s.width;
        return w;
    };
    const double room = frame(valueLabels(panel)[1]).width();
    struct Row
    {
        DayState state;
        const char* earned;
        const char* remain;
    };
    for (const Row& row : {
             Row{DayState::working, "(세전)129,156원 벌었어요", "(세전)129,156원 벌어야 해요"},
             Row{DayState::overtime, "(세전)382,775,119원 벌었어요",
                 "(세전)574,712,643원 더 벌었어요"},
             Row{DayState::working, "(세전)9,223,372,036,854,774,784원 벌었어요",
                 "(세전)382,775,119원 벌어야 해요"},
             Row{DayState::done, "(세전)382,775,119원 벌었어요", "퇴근 완료 🎉 +574,712,643원"},
         }) {
        Display d = dayIn(row.state);
        d.earnedText = QString::fromUtf8(row.earned);
        d.remainText = QString::fromUtf8(row.remain);
        panel.apply(d);
        for (const int i : {1, 3}) {
            const QString shown = plain(valueLabels(panel)[i]);
            SCOPED_TRACE(shown.toStdString());
            EXPECT_LE(width(shown), room - 1);
            const QString full = i == 1 ? d.earnedText : d.remainText;
            if (width(full) <= room - 2) {
                EXPECT_EQ(shown, full) << "what fits is shown whole";
            } else {
                EXPECT_FALSE(shown.contains(QStringLiteral("(세전)")));
                EXPECT_EQ(valueLabels(panel)[i]->toolTip(), full) << "the whole text on hover";
            }
        }
    }
    // The case seen in the morning with 350만원: the tag goes, the words stay.
    Display morning = dayIn(DayState::working);
    morning.remainText = QStringLiteral("(세전)129,156원 벌어야 해요");
    panel.apply(morning);
    const QString shown = plain(valueLabels(panel)[3]);
    EXPECT_TRUE(shown == morning.remainText || shown == QStringLiteral("129,156원 벌어야 해요"))
        << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("벌어야 해요")));
}

TEST_F(PanelLayoutTest, TheHistoryStripNeverTouchesTheBandTheDinnerButtonOrTheChips)
{
    for (const DayState state : {DayState::working, DayState::overtime, DayState::dinner}) {
        for (const bool withMoney : {true, false}) {
            SCOPED_TRACE(testing::Message() << int(state) << (withMoney ? " money" : " compact"));
            panel.apply(dayIn(state, withMoney));
            const QRectF strip = frame(panel.historyStrip());
            EXPECT_EQ(strip.size(), QSizeF(HistoryStrip::kWidth, HistoryStrip::kHeight));
            // y grows upwards here: a frame's top() is its bottom edge.
            EXPECT_GE(frame(part<QWidget>(panel, "slackingBand")).top(), strip.bottom() + 8);
            for (const ChipButton* chip : chipButtons(panel))
                EXPECT_GE(strip.top(), frame(chip).bottom() + 4);
            if (!part<ChipButton>(panel, "dinner")->isHidden()) {
                EXPECT_GE(frame(part<ChipButton>(panel, "dinner")).top(),
                          frame(part<QWidget>(panel, "slackingBand")).bottom());
            }
            EXPECT_LE(strip.right(), 256 - 16);
        }
    }
}

TEST_F(PanelLayoutTest, OpeningThePanelReadsTheHistoryAgain)
{
    // Within a minute refreshes keep the rows read last; an opened panel has them fresh.
    panel.apply(dayIn(DayState::working));
    panel.apply(dayIn(DayState::working));
    const int reads = panel.historyStrip()->reads();
    EXPECT_EQ(reads, 1);
    panel.show();
    EXPECT_EQ(panel.historyStrip()->reads(), reads + 1);
    panel.hide();
    panel.show();
    EXPECT_EQ(panel.historyStrip()->reads(), reads + 2);
}

TEST_F(PanelLayoutTest, DinnerReadsFinishedAndTheBarStaysInOvertimeColours)
{
    panel.apply(dayIn(DayState::dinner));
    EXPECT_TRUE(sameImage(
        part<ChipButton>(panel, "dinner")->image(),
        renderMonaLine("저녁 식사 완료!", mona(12), inkColor(), panel.devicePixelRatioF())));
    EXPECT_TRUE(part<BarView>(panel, "bar")->overtime);
}

TEST_F(PanelLayoutTest, AFinishedOrFreeDayFadesTheBar)
{
    for (const DayState state : {DayState::done, DayState::off}) {
        panel.apply(dayIn(state));
        EXPECT_EQ(part<BarView>(panel, "bar")->alpha2, 0.4);
    }
    panel.apply(dayIn(DayState::lunch));
    EXPECT_EQ(part<BarView>(panel, "bar")->alpha2, 1.0);
}

TEST_F(PanelLayoutTest, TheMascotIsLoadedOnlyWhenItChanges)
{
    Display d = dayIn(DayState::working);
    panel.apply(d);
    panel.apply(d);
    EXPECT_EQ(panel.mascotLoads(), 1);
    EXPECT_GT(part<MascotView>(panel, "mascot")->frameCount(), 1) << "the working ant is animated";
    d.mascot = QStringLiteral("missing_art");
    panel.apply(d);
    panel.apply(d);
    EXPECT_EQ(panel.mascotLoads(), 2);
    EXPECT_EQ(part<MascotView>(panel, "mascot")->frameCount(), 0);
}

TEST_F(PanelLayoutTest, TheEyeFollowsTheSlackingSwitches)
{
    const auto eyeReads = [&](const char* text) {
        return sameImage(part<ChipButton>(panel, "slackingEye")->image(),
                         renderMonaLine(QString::fromUtf8(text), mona(11), mutedInk(),
                                        panel.devicePixelRatioF()));
    };
    panel.apply(dayIn(DayState::working));
    EXPECT_TRUE(eyeReads("숨김"));
    EXPECT_FALSE(part<ChipButton>(panel, "slackingEye")->isHidden());
    // Centred on the slacking line, its right edge at 212.
    const QRectF eye = frame(part<ChipButton>(panel, "slackingEye"));
    EXPECT_DOUBLE_EQ(eye.right(), 212);

    Wollu::toggleHidden();
    panel.apply(dayIn(DayState::working));
    EXPECT_TRUE(eyeReads("표시"));

    Wollu::setDisabled(true);
    panel.apply(dayIn(DayState::working));
    EXPECT_TRUE(part<ChipButton>(panel, "slackingEye")->isHidden());
}

TEST_F(PanelLayoutTest, ColoursFollowThePanelsOwnAppearance)
{
    panel.setAppearance(true);
    panel.apply(dayIn(DayState::working));
    const QColor darkInk = valueLabels(panel)[0]->palette().color(QPalette::WindowText);
    EXPECT_GT(darkInk.lightnessF(), 0.9) << "white ink on a dark panel";
    EXPECT_FALSE(uiDarkOverride.has_value()) << "the override ends with the refresh";

    EXPECT_TRUE(panel.historyStrip()->isDark()) << "the strip takes the panel's pin";

    panel.setAppearance(false);
    panel.apply(dayIn(DayState::working));
    EXPECT_LT(valueLabels(panel)[0]->palette().color(QPalette::WindowText).lightnessF(), 0.1);
    EXPECT_FALSE(panel.historyStrip()->isDark());
}

} // namespace
