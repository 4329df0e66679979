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

#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTextDocument>

#include <cstdlib>

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

// Pixels of two pictures of one size (ARGB32) that differ by more than a rounding's worth in any
// channel.
qsizetype differingPixels(const QImage& a, const QImage& b)
{
    qsizetype count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = ra[x];
            const QRgb q = rb[x];
            if (std::abs(qRed(p) - qRed(q)) > 8 || std::abs(qGreen(p) - qGreen(q)) > 8 ||
                std::abs(qBlue(p) - qBlue(q)) > 8 || std::abs(qAlpha(p) - qAlpha(q)) > 8)
                ++count;
        }
    }
    return count;
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

// The full panel, every part where the design puts it, in the design's colours: one picture
// stands for its coordinates. The panel draws with the build's own pixel font and art (and the
// system's colour emoji), so the picture is the same wherever the build's assets are; after an
// intended change, TOCKWORK_UPDATE_PICTURES=1 writes it anew.
TEST_F(PanelLayoutTest, TheFullPanelLooksAsDesigned)
{
    panel.setAppearance(false);
    panel.apply(dayIn(DayState::working));
    EXPECT_EQ(panel.size(), QSize(256, 449));
    const QImage shown = panel.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QString reference = QStringLiteral(TOCKWORK_TEST_PICTURES "/panel-working.png");
    if (qEnvironmentVariableIsSet("TOCKWORK_UPDATE_PICTURES")) {
        ASSERT_TRUE(shown.save(reference));
        GTEST_SKIP() << "wrote " << reference.toStdString();
    }
    const QImage expected(reference);
    ASSERT_FALSE(expected.isNull()) << reference.toStdString();
    ASSERT_EQ(shown.size(), expected.size());
    EXPECT_LE(differingPixels(shown, expected.convertToFormat(QImage::Format_ARGB32)),
              shown.width() * shown.height() / 500)
        << "compare with " << reference.toStdString() << "; the panel as shown is saved as "
        << [&] {
               const QString path = QDir::temp().filePath(QStringLiteral("panel-working.png"));
               shown.save(path);
               return path.toStdString();
           }();
}

// Whatever the day shows, the parts keep their order from the top (mascot, bar, four rows 24
// apart, the dinner or way-back button when there is one, the slacking band, the history strip,
// the chips), inside the panel's 16-point margins, and the panel ends 16 points above the mascot.
TEST_F(PanelLayoutTest, PartsKeepTheirOrderAndMarginsInEveryState)
{
    struct Case
    {
        DayState state;
        bool withMoney;
        ManualState manual;
    };
    for (const Case& c : {Case{DayState::working, true, ManualState::work},
                          Case{DayState::working, false, ManualState::work},
                          Case{DayState::overtime, true, ManualState::work},
                          Case{DayState::overtime, false, ManualState::work},
                          Case{DayState::dinner, true, ManualState::work},
                          Case{DayState::done, true, ManualState::work},
                          Case{DayState::off, false, ManualState::work},
                          Case{DayState::working, true, ManualState::rest}}) {
        SCOPED_TRACE(testing::Message()
                     << int(c.state) << (c.withMoney ? " money " : " compact ") << int(c.manual));
        Pause::set(c.manual, Clock::now());
        panel.apply(dayIn(c.state, c.withMoney));
        QList<const QWidget*> column{part<MascotView>(panel, "mascot")};
        for (const QLabel* value : valueLabels(panel))
            column << value;
        for (const char* late : {"dinner", "backToWork"})
            if (const auto* button = part<ChipButton>(panel, late); !button->isHidden())
                column << button;
        column << part<QWidget>(panel, "slackingBand") << panel.historyStrip()
               << chipButtons(panel)[0];
        // y grows upwards here: a frame's top() is its bottom edge.
        for (qsizetype i = 1; i < column.size(); ++i)
            EXPECT_LE(frame(column[i]).bottom(), frame(column[i - 1]).top())
                << column[i]->objectName().toStdString() << " under "
                << column[i - 1]->objectName().toStdString();
        for (const QWidget* w : column) {
            EXPECT_GE(frame(w).left(), 16) << w->objectName().toStdString();
            EXPECT_LE(frame(w).right(), 256 - 16) << w->objectName().toStdString();
        }
        for (int i = 1; i < 4; ++i)
            EXPECT_EQ(rowY(i - 1) - rowY(i), 24);
        EXPECT_EQ(frame(chipButtons(panel)[0]).y(), 16);
        EXPECT_EQ(frame(chipButtons(panel)[1]).y(), 16);
        EXPECT_EQ(panel.height(), frame(column.first()).bottom() + 16);
    }
}

// The band loses its money lines: it shrinks from the top and all above it moves down by as much
// (the strip below stays). The late buttons come: all above the band moves up by their line.
TEST_F(PanelLayoutTest, TheTopMovesAsAWholeWhenTheBandShrinksOrTheLateButtonsCome)
{
    const auto above = [&] {
        return QList<QRectF>{frame(part<MascotView>(panel, "mascot")),
                             frame(part<PixelImageView>(panel, "title")),
                             frame(part<PixelImageView>(panel, "mood")),
                             frame(part<BarView>(panel, "bar")),
                             frame(rowLabels(panel)[0]),
                             frame(valueLabels(panel)[3])};
    };
    const auto shifted = [](QList<QRectF> frames, double dy) {
        for (QRectF& f : frames)
            f.translate(0, dy);
        return frames;
    };
    panel.apply(dayIn(DayState::working));
    const QList<QRectF> full = above();
    const QRectF band = frame(part<QWidget>(panel, "slackingBand"));
    const QRectF strip = frame(panel.historyStrip());
    EXPECT_FALSE(part<PixelImageView>(panel, "slackingMoney")->isHidden());
    EXPECT_FALSE(part<PixelImageView>(panel, "slackingShare")->isHidden());
    EXPECT_TRUE(part<ChipButton>(panel, "leave")->isHidden());
    EXPECT_TRUE(part<ChipButton>(panel, "dinner")->isHidden());

    QSignalSpy heightChanges(&panel, &PanelVC::heightChanged);
    panel.apply(dayIn(DayState::working, false));
    EXPECT_EQ(panel.height(), 409);
    EXPECT_EQ(heightChanges.size(), 1);
    EXPECT_EQ(above(), shifted(full, -40));
    const QRectF compactBand = frame(part<QWidget>(panel, "slackingBand"));
    EXPECT_EQ(compactBand.y(), band.y());
    EXPECT_EQ(compactBand.height(), band.height() - 40);
    EXPECT_EQ(frame(panel.historyStrip()), strip);
    EXPECT_TRUE(part<PixelImageView>(panel, "slackingMoney")->isHidden());
    EXPECT_TRUE(part<PixelImageView>(panel, "slackingShare")->isHidden());
    // The same state again changes nothing: the window is not resized every second.
    panel.apply(dayIn(DayState::working, false));
    EXPECT_EQ(heightChanges.size(), 1);

    const double late = panel.btnH() + 12;
    panel.apply(dayIn(DayState::overtime));
    EXPECT_EQ(heightChanges.size(), 2);
    EXPECT_EQ(panel.height(), 449 + late);
    EXPECT_EQ(above(), shifted(full, late));
    EXPECT_EQ(frame(part<ChipButton>(panel, "dinner")),
              QRectF(16, band.bottom() + 10, 224, panel.btnH()));
}

TEST_F(PanelLayoutTest, TheWorkingDayReadsInItsRowsAndColours)
{
    panel.apply(dayIn(DayState::working));
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

TEST_F(PanelLayoutTest, OvertimeShowsLeaveAndDinner)
{
    panel.apply(dayIn(DayState::overtime));
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
        const QRectF band = frame(part<QWidget>(panel, "slackingBand"));
        EXPECT_EQ(frame(part<ChipButton>(panel, "backToWork")),
                  QRectF(16, band.bottom() + 10, 224, btnH));
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
