// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFixture.h"

#include "engine/Cfg.h"
#include "engine/DaysOff.h"
#include "slacking/Wollu.h"
#include "ui/settings/DaysOffEditor.h"
#include "ui/settings/InfoBlock.h"
#include "ui/settings/SettingsWindows.h"

#include "ui/toolkit/EditableTextField.h"
#include "ui/toolkit/PixelImageView.h"
#include <QDir>
#include <QFile>

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimeEdit>

namespace {

void setTimes(SettingsWindowController& c, QTime ws, QTime we, QTime ls, QTime le)
{
    const QTime times[] = {ws, we, ls, le};
    for (int i = 0; i < 4; ++i)
        picker(c, i)->setTime(times[i]);
}

TEST_F(SettingsTest, TimesAreValidatedInOrderAndARejectedSaveStoresNothing)
{
    struct Case
    {
        QTime ws, we, ls, le;
        QString warning; // empty: accepted
    };
    const QTime h9(9, 0), h18(18, 0), h12(12, 0), h13(13, 0);
    const Case cases[] = {
        {h9, h18, h12, h12, {}}, // a lunch that starts when it ends is no lunch
        {h18, h18, h12, h13, SettingsSave::workEndBeforeStart},
        {QTime(22, 0), QTime(6, 0), QTime(1, 0), QTime(2, 0), SettingsSave::workEndBeforeStart},
        {h9, h18, h13, h12, SettingsSave::lunchEndBeforeStart},
        {h9, h18, QTime(8, 30), QTime(9, 30), SettingsSave::lunchOutsideWork},
        {h9, h18, QTime(17, 30), QTime(18, 30), SettingsSave::lunchOutsideWork},
        {h9, h18, h9, h18, {}}, // lunch exactly as long as the day
        // the rules apply in order: an end before the start is reported before leaving the day
        {h9, h18, QTime(19, 0), QTime(8, 0), SettingsSave::lunchEndBeforeStart},
    };
    int refused = 0;
    for (const Case& c : cases) {
        const QByteArray before = storeFile();
        auto window = openWindow();
        const int height = heightOf(*window);
        setTimes(*window, c.ws, c.we, c.ls, c.le);
        window->saveTapped();
        if (c.warning.isEmpty()) {
            EXPECT_FALSE(window->warningText());
            EXPECT_FALSE(window->window()->isVisible());
            EXPECT_EQ(Cfg::lunchStart(), c.ls.hour() * 60 + c.ls.minute());
            continue;
        }
        ++refused;
        EXPECT_EQ(window->warningText().value_or(QString()), c.warning);
        EXPECT_EQ(heightOf(*window), height + SettingsWindowController::kWarningHeight);
        EXPECT_TRUE(window->window()->isVisible());
        EXPECT_EQ(storeFile(), before) << c.warning.toStdString();
    }
    EXPECT_EQ(eventNames().count("Settings Save Rejected"), refused);
}

TEST_F(SettingsTest, CancellingClearsTheWarningStoresNothingAndSaysSo)
{
    auto window = openWindow();
    const int height = heightOf(*window);
    setTimes(*window, QTime(18, 0), QTime(9, 0), QTime(12, 0), QTime(13, 0));
    window->saveTapped();
    window->cancelTapped();
    EXPECT_FALSE(window->warningText());
    EXPECT_EQ(heightOf(*window), height);
    EXPECT_FALSE(window->window()->isVisible());
    EXPECT_TRUE(storeFile().isEmpty());
    // The controls keep what was left in them for the next opening.
    EXPECT_EQ(picker(*window, 0)->time(), QTime(18, 0));
    window->cancelTapped();
    EXPECT_EQ(eventNames(),
              QStringList({"Settings Save Rejected", "Settings Cancelled", "Settings Cancelled"}));
}

TEST_F(SettingsTest, ASaveTheFileCannotTakeSaysSoAndKeepsTheWindowOpen)
{
    // A plain file where the settings folder should be: no write can succeed.
    const QString blocker = home_.filePath(QStringLiteral("blocked"));
    QFile(blocker).open(QIODevice::WriteOnly);
    const QString path = blocker + QStringLiteral("/tockwork.conf");
    Store::openStandardAt(path);
    auto window = openWindow();
    setTimes(*window, QTime(8, 0), QTime(17, 0), QTime(12, 0), QTime(13, 0));
    window->saveTapped();
    ASSERT_TRUE(window->warningText());
    EXPECT_TRUE(window->warningText()->contains(QStringLiteral("쓰지 못했어요")));
    EXPECT_TRUE(window->window()->isVisible());

    // Once the folder can take it, saving the same again writes it and closes the window.
    ASSERT_TRUE(QFile::remove(blocker));
    ASSERT_TRUE(QDir().mkpath(blocker));
    window->saveTapped();
    EXPECT_FALSE(window->warningText());
    EXPECT_FALSE(window->window()->isVisible());
    EXPECT_TRUE(StoreSandbox::readFile(path).contains("workStart=480"));
}

TEST_F(SettingsTest, SalaryIsKeptExactlyUntilTheFieldChanges)
{
    seed("monthlySalaryWon", 3'005'000);
    auto window = openWindow();
    EXPECT_EQ(control<EditableTextField>(*window, "salary")->text(), "300");
    window->saveTapped();
    EXPECT_EQ(Cfg::monthlySalaryWon(), 3'005'000);

    // Typed back to what it showed, the field still means the stored won.
    control<EditableTextField>(*window, "salary")->setText("301");
    control<EditableTextField>(*window, "salary")->setText("300");
    window->saveTapped();
    EXPECT_EQ(Cfg::monthlySalaryWon(), 3'005'000);

    control<EditableTextField>(*window, "salary")->setText("301");
    window->saveTapped();
    EXPECT_EQ(Cfg::monthlySalaryWon(), 3'010'000);
}

TEST_F(SettingsTest, SalaryTextAsTypedWithInputMethodsAndWhatIsRefused)
{
    struct Case
    {
        const char* typed;
        qint64 stored;   // after the save
        QString warning; // the save is refused with it
    };
    const Case cases[] = {
        {"３５０", 3'500'000, {}},
        {"3,500만", 35'000'000, {}},
        {"300.5", 3'005'000, {}},
        {"", 0, {}},
        {"1000000", 10'000'000'000, {}},
        {"1000001", 0, SettingsSave::salaryTooLarge},
        {"92233720368547758070000", 0, SettingsSave::salaryTooLarge},
        {"삼백", 0, SettingsSave::salaryNotANumber},
    };
    for (const Case& c : cases) {
        seed("monthlySalaryWon", 0);
        auto window = openWindow();
        control<EditableTextField>(*window, "salary")->setText(QString::fromUtf8(c.typed));
        window->saveTapped();
        EXPECT_EQ(window->warningText().value_or(QString()), c.warning) << c.typed;
        EXPECT_EQ(Cfg::monthlySalaryWon(), c.stored) << c.typed;
    }
}

TEST_F(SettingsTest, EveryChangedFieldIsReportedInItsOrderAndOnlyThen)
{
    seed("wolluApps", "유튜브");
    auto same = openWindow();
    same->saveTapped();
    EXPECT_EQ(eventNames(), QStringList({"Settings Saved", "Analytics Opt Out Changed"}));

    auto window = openWindow();
    setTimes(*window, QTime(8, 0), QTime(17, 0), QTime(11, 30), QTime(12, 30));
    control<EditableTextField>(*window, "salary")->setText("250");
    control<QComboBox>(*window, "salaryType")->setCurrentIndex(1);
    control<QCheckBox>(*window, "pretaxTag")->setChecked(false); // not a reported field
    control<QCheckBox>(*window, "skipDaysOff")->setChecked(false);
    control<QCheckBox>(*window, "slackingOff")->setChecked(true);
    AddWolluWindowController::answerNextRun("reddit.com");
    window->addManual();
    control<DaysOffEditor>(*window, "daysOff")->openForm();
    control<DaysOffEditor>(*window, "daysOff")
        ->findChild<QDateEdit*>("dayOffDate")
        ->setDate(QDate(2026, 3, 20));
    ASSERT_TRUE(control<DaysOffEditor>(*window, "daysOff")->addFromForm());
    window->saveTapped();
    EXPECT_EQ(eventNames().count("Wollu Tracking Toggled"), 1);

    EXPECT_EQ(Cfg::workStart(), 480);
    EXPECT_EQ(Cfg::workEnd(), 1020);
    EXPECT_EQ(Cfg::lunchStart(), 690);
    EXPECT_EQ(Cfg::lunchEnd(), 750);
    EXPECT_EQ(Cfg::monthlySalaryWon(), 2'500'000);
    EXPECT_FALSE(Cfg::salaryPretax());
    EXPECT_FALSE(Cfg::showPretaxTag());
    EXPECT_FALSE(Cfg::excludeWeekend());
    EXPECT_TRUE(Wollu::disabled());
    EXPECT_EQ(Wollu::appsRaw(), "유튜브,reddit.com");
    EXPECT_EQ(DaysOff::on(QDate(2026, 3, 20)),
              (DayOff{QDate(2026, 3, 20), DayOffPart::fullDay, {}}));
}

TEST_F(SettingsTest, TrackingOffClearsTheDayOnEverySaveAndOptingOutIsTheLastEvent)
{
    seed("wolluDisabled", true);
    Wollu::add(120);
    auto window = openWindow();
    EXPECT_TRUE(control<QCheckBox>(*window, "slackingOff")->isChecked());
    control<QCheckBox>(*window, "analytics")->setChecked(false);
    window->saveTapped();
    EXPECT_EQ(Wollu::seconds(), 0);
    EXPECT_TRUE(Analytics::optOut());
    // The save is reported, then the opt-out, then nothing: not even the profile.
    EXPECT_EQ(eventNames(), QStringList({"Settings Saved", "Analytics Opt Out Changed"}));
    EXPECT_TRUE(server_.records(false).isEmpty());
}

TEST_F(SettingsTest, ReturnSavesEscapeCancelsAndTabFollowsTheFieldsInOrder)
{
    auto window = openWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->window()));
    const QList<QWidget*> expected{static_cast<QWidget*>(picker(*window, 0)),
                                   picker(*window, 1),
                                   picker(*window, 2),
                                   picker(*window, 3),
                                   control<QComboBox>(*window, "salaryType"),
                                   control<EditableTextField>(*window, "salary"),
                                   control<QCheckBox>(*window, "pretaxTag"),
                                   control<QCheckBox>(*window, "skipDaysOff"),
                                   control<QCheckBox>(*window, "slackingOff"),
                                   control<QCheckBox>(*window, "analytics"),
                                   control<DaysOffEditor>(*window, "daysOff")->addButton(),
                                   control<QPushButton>(*window, "disclosure"),
                                   control<QPushButton>(*window, "addDistraction")};
    picker(*window, 0)->setFocus();
    QList<QWidget*> seen{picker(*window, 0)};
    for (int i = 0; i < 40 && seen.size() < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        // A time picker is entered through its own text field, and Tab walks its hour and
        // minute before leaving it.
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(focused->parentWidget()))
            focused = spin;
        if (seen.last() != focused)
            seen << focused;
    }
    EXPECT_EQ(seen, expected);

    control<EditableTextField>(*window, "salary")->setFocus();
    QTest::keyClicks(control<EditableTextField>(*window, "salary"), "280");
    QTest::keyClick(control<EditableTextField>(*window, "salary"), Qt::Key_Escape);
    EXPECT_FALSE(window->window()->isVisible());
    EXPECT_EQ(Cfg::monthlySalaryWon(), 0);

    window->showCentered();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->window()));
    QTest::keyClick(control<EditableTextField>(*window, "salary"), Qt::Key_Return);
    EXPECT_FALSE(window->window()->isVisible());
    EXPECT_EQ(Cfg::monthlySalaryWon(), 2'800'000);

    // Return saves and Escape cancels from every field, whichever has the keyboard.
    for (const auto key : {Qt::Key_Return, Qt::Key_Escape}) {
        for (QWidget* field : expected) {
            window->showCentered();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window->window()));
            field->setFocus();
            QTest::keyClick(QApplication::focusWidget(), key);
            EXPECT_FALSE(window->window()->isVisible()) << field->metaObject()->className();
        }
    }
    EXPECT_EQ(eventNames().count("Settings Saved"), 1 + int(expected.size()));
}

} // namespace

namespace {

// One run saved no salary: Return in the open 세전/세후 list closed the list and saved the window.
TEST_F(SettingsTest, ReturnInTheOpenSalaryListPicksTheItemOnly)
{
    auto window = openWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->window()));
    QComboBox* popup = control<QComboBox>(*window, "salaryType");
    // The row is named like the time rows: "월급 [세전] [   ] 만원".
    const QList<QLabel*> labels = window->window()->findChildren<QLabel*>();
    const auto name = std::find_if(labels.begin(), labels.end(), [](const QLabel* l) {
        return l->isVisible() && l->text() == QStringLiteral("월급");
    });
    ASSERT_NE(name, labels.end()) << "the salary field has no label";
    EXPECT_LE((*name)->geometry().right(), popup->geometry().left());
    EXPECT_NEAR((*name)->geometry().center().y(),
                control<EditableTextField>(*window, "salary")->geometry().center().y(), 2);

    control<EditableTextField>(*window, "salary")->setFocus();
    QTest::keyClicks(control<EditableTextField>(*window, "salary"), "350");
    popup->setFocus();
    popup->showPopup();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup->view()->window()));
    QTest::keyClick(popup->view(), Qt::Key_Down);
    QTest::keyClick(popup->view(), Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_FALSE(popup->view()->isVisible());
    EXPECT_EQ(popup->currentIndex(), 1) << "세후 picked";
    EXPECT_TRUE(window->window()->isVisible()) << "the window was saved and closed";
    EXPECT_EQ(Cfg::monthlySalaryWon(), 0);

    // The next Return saves the window, with the item picked.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(window->window()->isVisible());
    EXPECT_EQ(Cfg::monthlySalaryWon(), 3'500'000);
    EXPECT_FALSE(Cfg::salaryPretax());
}

TEST_F(SettingsTest, OpenedBesideThePanelOrCentredKeptUntilClosed)
{
    SettingsWindows windows;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect panel(screen.right() - 320, screen.top() + 30, 300, 400);
    windows.openSettingsBeside(panel);
    SettingsWindowController* first = windows.controller();
    ASSERT_TRUE(first);
    const QRect placed = first->window()->geometry();
    EXPECT_EQ(placed.right() + 1 + 8, panel.left());
    EXPECT_EQ(placed.top(), panel.top());
    EXPECT_TRUE(first->window()->isVisible());

    // Reopened, it is the same window with what was left in it, now centred.
    control<EditableTextField>(*first, "salary")->setText("410");
    first->cancelTapped();
    windows.openSettings();
    EXPECT_EQ(windows.controller(), first);
    EXPECT_EQ(control<EditableTextField>(*first, "salary")->text(), "410");
    EXPECT_NEAR(first->window()->geometry().center().x(), screen.center().x(), 1);

    // Released, the next opening starts from the store again.
    windows.closeSettings();
    windows.openSettings();
    EXPECT_NE(control<EditableTextField>(*windows.controller(), "salary")->text(), "410");
    EXPECT_TRUE(SettingsWindows::firstRun());
    control<EditableTextField>(*windows.controller(), "salary")->setText("300");
    windows.controller()->saveTapped();
    EXPECT_FALSE(SettingsWindows::firstRun());

    EXPECT_EQ(eventNames().count("Settings Opened"), 3);
}

TEST(SettingsPlacement, LeftOfThePanelButInsideTheScreen)
{
    const QRect visible(0, 30, 1280, 770);
    const QSize window(256, 602);
    EXPECT_EQ(settingsOriginLeftOf(window, QRect(900, 40, 300, 400), visible), QPoint(636, 40));
    // No room on the left: 8 points from the edge, over the panel.
    EXPECT_EQ(settingsOriginLeftOf(window, QRect(100, 40, 300, 400), visible), QPoint(8, 40));
    // A panel low on the screen: lifted to stay 8 points above the bottom.
    EXPECT_EQ(settingsOriginLeftOf(window, QRect(900, 500, 300, 200), visible),
              QPoint(636, 800 - 8 - 602));
    // Taller than the screen: the top stays visible.
    EXPECT_EQ(settingsOriginLeftOf(QSize(256, 900), QRect(900, 40, 300, 400), visible),
              QPoint(636, 30));
}

} // namespace

namespace {

TEST_F(SettingsTest, AClickSelectsTheHourOrMinuteSoTypingReplacesIt)
{
    auto window = openWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->window()));
    QTimeEdit* start = picker(*window, 0);
    auto* text = start->findChild<QLineEdit*>();
    ASSERT_TRUE(text);
    const auto typeAt = [&](double across, const char* digits) {
        QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(int(text->width() * across), 12));
        QCoreApplication::processEvents();
        QTest::keyClicks(text, digits);
    };
    typeAt(0.3, "0800");
    EXPECT_EQ(start->time(), QTime(8, 0));
    typeAt(0.7, "45");
    EXPECT_EQ(start->time(), QTime(8, 45));
}

} // namespace

namespace {

TEST_F(SettingsTest, BrowserLinesJoinTheSlackingCriteriaAndTheWindowGrowsByThem)
{
    const int plain = heightOf(*openWindow());
    auto window = openWindow([] {
        return QStringList{"· 주소를 알려 주는 브라우저: Firefox,\n Chromium", "  "};
    });
    EXPECT_EQ(heightOf(*window), plain + InfoBlock::kLineStep);
    const auto top = [&](const QString& line) {
        for (auto* view : window->window()->findChildren<PixelImageView*>())
            if (view->isVisible() && view->accessibleName() == line)
                return view->y();
        return -1;
    };
    const int sites = top("· 지정 딴짓 앱, 사이트 사용");
    ASSERT_GT(sites, 0);
    EXPECT_EQ(top("· 주소를 알려 주는 브라우저: Firefox, Chromium"), sites + InfoBlock::kLineStep);
    EXPECT_EQ(top("· 화면보호기, 화면 잠금, 모니터 꺼짐"), sites + 2 * InfoBlock::kLineStep);
}

} // namespace

namespace {

// The days-off list between the switches and the distraction list: nothing overlaps, and what
// lies below it (and the window) follows its height.
TEST_F(SettingsTest, TheDaysOffListPushesTheDistractionListDown)
{
    seed("wolluApps", "유튜브"); // one row: the screen holds the list whole
    auto window = openWindow([] { return QStringList(); });
    DaysOffEditor* days = control<DaysOffEditor>(*window, "daysOff");
    const auto below = [&] { return control<QPushButton>(*window, "disclosure")->y(); };
    // The empty-list hint and the gap under it.
    EXPECT_EQ(heightOf(*window), SettingsWindowController::heightFor(false, 0, 0) + 58);
    EXPECT_EQ(heightOf(*window), 602);
    EXPECT_TRUE(days->isVisible());
    EXPECT_GE(days->y(), control<QCheckBox>(*window, "analytics")->geometry().bottom() + 1);
    EXPECT_EQ(below(), days->geometry().bottom() + 1 + 8);
    EXPECT_EQ(control<QPushButton>(*window, "addDistraction")->y(), below() - 1);
    const int empty = heightOf(*window);

    // Days added from the terminal while the window was closed show when it opens again.
    window->cancelTapped();
    DaysOff::add({QDate(2026, 3, 13), DayOffPart::afternoon, QStringLiteral("은행")});
    window->showCentered();
    ASSERT_EQ(days->shownDays().size(), 1);
    EXPECT_EQ(heightOf(*window), empty + 4); // one row where the 20-point hint was
    DaysOff::add({QDate(2026, 5, 5), DayOffPart::fullDay, {}});
    window->cancelTapped();
    window->showCentered();
    EXPECT_EQ(heightOf(*window), empty + 4 + DaysOffEditor::kRowHeight);
    EXPECT_EQ(below(), days->geometry().bottom() + 1 + 8);

    // The form opening inside the window moves the list below it and grows the window; the
    // expanded distraction list moves the same way.
    window->toggleExpand();
    const int closed = heightOf(*window);
    const int hintTop = below();
    days->openForm();
    const int grown = DaysOffEditor::heightFor(2, true) - DaysOffEditor::heightFor(2, false);
    EXPECT_EQ(heightOf(*window), closed + grown);
    EXPECT_EQ(below(), hintTop + grown);
    EXPECT_EQ(below(), days->geometry().bottom() + 1 + 8);
    days->closeForm();
    EXPECT_EQ(heightOf(*window), closed);
}

// Like every other field, the days off are written by "저장" only; what was left unsaved in the
// list stays there when the window opens again, rather than being replaced by the file.
TEST_F(SettingsTest, DaysOffAreWrittenOnlyByTheSave)
{
    auto window = openWindow();
    DaysOffEditor* days = control<DaysOffEditor>(*window, "daysOff");
    days->openForm();
    days->findChild<QDateEdit*>("dayOffDate")->setDate(QDate(2026, 4, 3));
    ASSERT_TRUE(days->addFromForm());
    window->cancelTapped();
    EXPECT_TRUE(DaysOff::list().isEmpty());

    DaysOff::add({QDate(2026, 6, 1), DayOffPart::fullDay, {}}); // from the terminal meanwhile
    window->showCentered();
    ASSERT_EQ(days->shownDays().size(), 1);
    EXPECT_EQ(days->shownDays().first().date, QDate(2026, 4, 3))
        << "the unsaved day was thrown away on opening";
    window->saveTapped();
    EXPECT_TRUE(DaysOff::on(QDate(2026, 4, 3)).has_value());
    EXPECT_TRUE(DaysOff::on(QDate(2026, 6, 1)).has_value()) << "the terminal's day was lost";
    EXPECT_FALSE(days->hasChanges());
    EXPECT_EQ(days->shownDays().size(), 2);
}

} // namespace
