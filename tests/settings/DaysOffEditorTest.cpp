// SPDX-License-Identifier: GPL-3.0-or-later
// The days-off list of the settings window over a real store file: what it shows, adding from
// its form with the keyboard, removing, writing only on store() without losing what the terminal
// added meanwhile, its height, and pictures in light and dark at 1x and 2x
// (test-screens/days-off/).
#include "ui/settings/DaysOffEditor.h"
#include "analytics/Analytics.h"
#include "engine/Clock.h"
#include "engine/DaysOff.h"
#include "engine/Store.h"
#include "render/Appearance.h"
#include "render/Colors.h"
#include "ui/settings/SettingsStyle.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/GlassView.h"
#include "ui/toolkit/GlassWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "Sandbox.h"

#include "SettingsControls.h"

namespace {

// Tuesday 10 March 2026, mid-morning.
const QDate kToday(2026, 3, 10);

class DaysOffEditorTest : public testing::Test
{
protected:
    void SetUp() override { store_.useAsHome(); }

    static QByteArray storedList()
    {
        return Store::standard().text(QStringLiteral("daysOff")).value_or(QString()).toUtf8();
    }

    StoreSandbox store_;
    FrozenClock clock_{kToday, QTime(10, 0)};
};

TEST_F(DaysOffEditorTest, ShowsTheDaysToComeFromTheStore)
{
    DaysOff::add({QDate(2026, 3, 2), DayOffPart::fullDay, {}}); // gone by
    DaysOff::add({kToday, DayOffPart::afternoon, QStringLiteral("병원")});
    DaysOff::add({QDate(2026, 5, 1), DayOffPart::fullDay, QStringLiteral("창립기념일")});
    DaysOffEditor editor;
    ASSERT_EQ(editor.shownDays().size(), 2) << "today counts as to come";
    EXPECT_EQ(editor.days().size(), 3) << "days gone by are kept, only not shown";
    EXPECT_NE(editor.removeButton(kToday), nullptr);
    EXPECT_EQ(editor.removeButton(QDate(2026, 3, 2)), nullptr);
    EXPECT_EQ(editor.height(), DaysOffEditor::heightFor(2, false));
    EXPECT_FALSE(editor.hasChanges());
}

TEST_F(DaysOffEditorTest, KindsReadAsTheUserNamesThem)
{
    const QDate d(2026, 4, 3);
    using Kind = DaysOffEditor::Kind;
    EXPECT_EQ(DaysOffEditor::entryFor(d, Kind::annualLeave, {}),
              (DayOff{d, DayOffPart::fullDay, {}}));
    EXPECT_EQ(DaysOffEditor::entryFor(d, Kind::morningOff, QStringLiteral("  치과  ")),
              (DayOff{d, DayOffPart::morning, QStringLiteral("치과")}));
    EXPECT_EQ(DaysOffEditor::entryFor(d, Kind::companyHoliday, {}).note,
              QStringLiteral("회사 휴무"))
        << "a company holiday without a name still reads as one";
    EXPECT_EQ(DaysOffEditor::entryFor(d, Kind::annualLeave, QString(100, u'가')).note.size(),
              DaysOffEditor::kNoteMaxLength);

    EXPECT_EQ(DaysOffEditor::kindText({d, DayOffPart::fullDay, {}}), QStringLiteral("연차"));
    EXPECT_EQ(DaysOffEditor::kindText({d, DayOffPart::afternoon, {}}), QStringLiteral("오후 반차"));
    EXPECT_EQ(DaysOffEditor::kindText({d, DayOffPart::morning, QStringLiteral("병원")}),
              QStringLiteral("오전 반차 · 병원"));
    EXPECT_EQ(DaysOffEditor::kindText({d, DayOffPart::fullDay, QStringLiteral("창립기념일")}),
              QStringLiteral("창립기념일"));
}

TEST_F(DaysOffEditorTest, ReturnInTheFormAddsTheDayNotTheWindowsSave)
{
    // The editor inside a window whose Return saves, as the settings window's does.
    QWidget window;
    int saves = 0;
    auto* save = new QShortcut(QKeySequence(Qt::Key_Return), &window);
    QObject::connect(save, &QShortcut::activated, [&] { ++saves; });
    auto* editor = new DaysOffEditor(&window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy heights(editor, &DaysOffEditor::heightChanged);

    QTest::mouseClick(editor->addButton(), Qt::LeftButton);
    ASSERT_TRUE(editor->formOpen());
    ASSERT_EQ(heights.size(), 1);
    EXPECT_EQ(heights.last().at(0).toInt(), DaysOffEditor::heightFor(0, true));
    EXPECT_EQ(heights.last().at(1).toInt(),
              DaysOffEditor::heightFor(0, true) - DaysOffEditor::heightFor(0, false));
    EXPECT_EQ(editor->findChild<QDateEdit*>("dayOffDate")->date(), kToday.addDays(1))
        << "the next working day";

    editor->findChild<QDateEdit*>("dayOffDate")->setDate(QDate(2026, 3, 13));
    editor->findChild<QComboBox*>("dayOffKind")->setCurrentIndex(2); // 오후 반차
    editor->findChild<QLineEdit*>("dayOffNote")->setFocus();
    editor->findChild<QLineEdit*>("dayOffNote")
        ->insert(QStringLiteral("은행")); // typed through an input method
    QTest::keyClick(editor->findChild<QLineEdit*>("dayOffNote"), Qt::Key_Return);

    EXPECT_EQ(saves, 0) << "the window's save took the key";
    EXPECT_FALSE(editor->formOpen());
    EXPECT_EQ(QApplication::focusWidget(), editor->addButton()) << "the keyboard stays here";
    ASSERT_EQ(editor->shownDays().size(), 1);
    EXPECT_EQ(editor->shownDays().first(),
              (DayOff{QDate(2026, 3, 13), DayOffPart::afternoon, QStringLiteral("은행")}));
    EXPECT_EQ(editor->height(), DaysOffEditor::heightFor(1, false));
    EXPECT_TRUE(editor->hasChanges());
    EXPECT_TRUE(storedList().isEmpty()) << "nothing is written before the window saves";

    // Escape closes the form without adding, and without cancelling the window.
    editor->openForm();
    QTest::keyClick(editor->findChild<QLineEdit*>("dayOffNote"), Qt::Key_Escape);
    EXPECT_FALSE(editor->formOpen());
    EXPECT_EQ(editor->shownDays().size(), 1);

    ASSERT_TRUE(editor->store());
    EXPECT_EQ(DaysOff::on(QDate(2026, 3, 13)),
              (DayOff{QDate(2026, 3, 13), DayOffPart::afternoon, QStringLiteral("은행")}));
    EXPECT_FALSE(editor->hasChanges());
}

TEST_F(DaysOffEditorTest, StoreWritesTheDifferenceAndKeepsWhatTheTerminalAdded)
{
    DaysOff::add({QDate(2026, 3, 20), DayOffPart::fullDay, {}});
    DaysOff::add({QDate(2026, 4, 1), DayOffPart::morning, {}});
    DaysOffEditor editor;
    QSignalSpy heights(&editor, &DaysOffEditor::heightChanged);

    QTest::mouseClick(editor.removeButton(QDate(2026, 3, 20)), Qt::LeftButton);
    QCoreApplication::processEvents(); // the clicked button goes with the old rows
    EXPECT_EQ(editor.shownDays().size(), 1);
    ASSERT_EQ(heights.size(), 1);
    EXPECT_EQ(heights.last().at(1).toInt(), -DaysOffEditor::kRowHeight);

    editor.openForm();
    editor.findChild<QDateEdit*>("dayOffDate")
        ->setDate(QDate(2026, 4, 1)); // replaces the morning off
    editor.findChild<QComboBox*>("dayOffKind")->setCurrentIndex(3);
    editor.findChild<QLineEdit*>("dayOffNote")
        ->setText(QStringLiteral("창립기념일; 100% 쉼, 진짜|"));
    ASSERT_TRUE(editor.addFromForm());

    // Meanwhile `tockwork-cli dayoff add` wrote another day.
    DaysOff::add({QDate(2026, 6, 5), DayOffPart::fullDay, QStringLiteral("여행")});

    ASSERT_TRUE(editor.store());
    EXPECT_EQ(DaysOff::list(),
              (QList<DayOff>{{QDate(2026, 4, 1), DayOffPart::fullDay,
                              QStringLiteral("창립기념일; 100% 쉼, 진짜|")},
                             {QDate(2026, 6, 5), DayOffPart::fullDay, QStringLiteral("여행")}}));
    EXPECT_EQ(editor.shownDays().size(), 2) << "the terminal's day shows after the save";

    // What was written reads back the same from the file itself.
    Store::openStandardAt(store_.storePath());
    EXPECT_EQ(DaysOff::on(QDate(2026, 4, 1))->note, QStringLiteral("창립기념일; 100% 쉼, 진짜|"));
}

TEST_F(DaysOffEditorTest, AStoreThatCannotBeWrittenSaysSo)
{
    DaysOffEditor editor;
    editor.openForm();
    ASSERT_TRUE(editor.addFromForm());
    Store::standard().setReadOnly(true);
    EXPECT_FALSE(editor.store());
    EXPECT_FALSE(StoreSandbox::readFile(store_.storePath()).contains("daysOff"));
    EXPECT_EQ(editor.shownDays().size(), 1) << "kept in memory, like the other settings";
}

TEST_F(DaysOffEditorTest, ALongListScrollsAtFiveRows)
{
    for (int i = 0; i < 8; ++i)
        DaysOff::add({kToday.addDays(7 + i), DayOffPart::fullDay, {}});
    DaysOffEditor editor;
    EXPECT_EQ(editor.shownDays().size(), 8);
    EXPECT_EQ(editor.height(), DaysOffEditor::heightFor(5, false));
    EXPECT_EQ(DaysOffEditor::heightFor(8, false), DaysOffEditor::heightFor(5, false));
    EXPECT_NE(editor.removeButton(kToday.addDays(14)), nullptr)
        << "the last one is there to scroll to";
}

// ---- what it looks like ----

QImage editorShot(DaysOffEditor& editor, bool dark, qreal ratio)
{
    {
        const AppearancePin pin(dark);
        editor.restyle();
    }
    const int margin = 16;
    QImage image(
        (QSizeF(editor.width() + 2 * margin, editor.height() + 2 * margin) * ratio).toSize(),
        QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QColor glass = GlassView::fillColor(dark);
    glass.setAlpha(255);
    image.fill(glass);
    QPainter painter(&image);
    editor.render(&painter, QPoint(margin, margin), QRegion(), QWidget::DrawChildren);
    painter.end();
    return image;
}

TEST_F(DaysOffEditorTest, PicturesInLightAndDark)
{
    const QString shots = QStringLiteral(TOCKWORK_DAYS_OFF_SHOTS_DIR);
    QDir().mkpath(shots);
    DaysOff::add({QDate(2026, 3, 13), DayOffPart::afternoon, QStringLiteral("은행")});
    DaysOff::add({QDate(2026, 3, 14), DayOffPart::fullDay, {}}); // a Saturday
    DaysOff::add({QDate(2026, 5, 1), DayOffPart::fullDay, QStringLiteral("창립기념일")});
    DaysOff::add({QDate(2027, 1, 4), DayOffPart::morning, {}});
    DaysOffEditor editor;
    for (const bool adding : {false, true}) {
        if (adding)
            editor.openForm();
        for (const bool dark : {false, true}) {
            for (const qreal ratio : {1.0, 2.0}) {
                SCOPED_TRACE(testing::Message() << (dark ? "dark " : "light ") << ratio << "x");
                const QImage image = editorShot(editor, dark, ratio);
                image.save(shots +
                           QStringLiteral("/days-off-%1-%2-%3x.png")
                               .arg(adding ? QStringLiteral("form") : QStringLiteral("list"),
                                    dark ? QStringLiteral("dark") : QStringLiteral("light"))
                               .arg(ratio));
                // The first row's date stands out from the glass.
                const double background = QColor(image.pixel(2, 2)).lightnessF();
                int inked = 0;
                const QRect dateArea =
                    QRectF(QPointF(16, 16 + 30) * ratio, QSizeF(60, 24) * ratio).toRect();
                for (int y = dateArea.top(); y <= dateArea.bottom(); ++y)
                    for (int x = dateArea.left(); x <= dateArea.right(); ++x)
                        inked +=
                            std::abs(QColor(image.pixel(x, y)).lightnessF() - background) > 0.3;
                EXPECT_GT(inked, 20);
            }
        }
    }
}

// The settings window as it looks with the list above the distraction list, in light and dark.
TEST_F(DaysOffEditorTest, TheSettingsWindowWithTheList)
{
    Analytics::setDemoRun();
    const QString shots = QStringLiteral(TOCKWORK_DAYS_OFF_SHOTS_DIR);
    QDir().mkpath(shots);
    DaysOff::add({QDate(2026, 3, 13), DayOffPart::afternoon, QStringLiteral("은행")});
    DaysOff::add({QDate(2026, 5, 5), DayOffPart::fullDay, {}});
    DaysOff::add({QDate(2026, 6, 12), DayOffPart::fullDay, QStringLiteral("창립기념일")});
    const QPalette original = QGuiApplication::palette();
    for (const bool dark : {false, true}) {
        if (dark) {
            // A dark desktop, as the window learns it from the palette.
            QPalette p = original;
            p.setColor(QPalette::Window, QColor(40, 40, 44));
            p.setColor(QPalette::WindowText, QColor(235, 235, 235));
            QGuiApplication::setPalette(p);
        }
        SettingsWindowController controller;
        GlassWindow* window = controller.window();
        EXPECT_EQ(window->isDark(), dark);
        window->show();
        const DaysOffEditor* editor = control<DaysOffEditor>(controller, "daysOff");
        EXPECT_EQ(editor->shownDays().size(), 3);
        EXPECT_EQ(control<QPushButton>(controller, "disclosure")->y(),
                  editor->geometry().bottom() + 1 + 8);
        const QImage image = window->content()->grab().toImage();
        image.save(shots +
                   QStringLiteral("/settings-with-days-off-%1.png")
                       .arg(window->isDark() ? QStringLiteral("dark") : QStringLiteral("light")));
        window->hide();
    }
    QGuiApplication::setPalette(original);
}

} // namespace
