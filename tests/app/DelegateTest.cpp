// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppDelegate.h"
#include "engine/Clock.h"
#include "engine/Eod.h"
#include "engine/Pause.h"
#include "engine/SettingsKeys.h"
#include "engine/Status.h"
#include "engine/Store.h"
#include "preview/ScriptedDemo.h"
#include "slacking/Wollu.h"
#include "ui/eod/EndOfDayPrompt.h"
#include "ui/eod/EodWindow.h"
#include "ui/eod/EodWindowController.h"
#include "ui/panel/PanelVC.h"
#include "ui/panel/QuitDialog.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/GlassPanel.h"
#include "ui/tray/TrayIcon.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include "DelegateFixture.h"
#include "PanelParts.h"

namespace {

TEST_F(Delegate, AClickOpensThePanelUnderTheIconAndASecondClosesIt)
{
    AppDelegate& app = launch();
    GlassPanel* panel = app.panelWindow();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isVisible());

    const QRect icon(600, 0, 24, 24);
    Q_EMIT app.tray()->activated(icon);
    ASSERT_TRUE(panel->isVisible());
    // Centred under the icon, 2 pixels below it (the offscreen screen has no desktop panel).
    EXPECT_EQ(panel->pos(), QPoint(612 - panel->width() / 2, 26));
    EXPECT_EQ(panel->size(), app.panelVC()->size());

    clock.at(clock.epoch(QDate(2025, 3, 12), QTime(10, 0, 42)));
    Q_EMIT app.tray()->activated(icon);
    EXPECT_FALSE(panel->isVisible());
    // Hiding again changes nothing and reports nothing.
    app.hidePanel();

    EXPECT_EQ(eventsNamed("Panel Opened").size(), 1);
    EXPECT_EQ(eventsNamed("Panel Closed").size(), 1);
}

TEST_F(Delegate, APinnedPanelStaysThroughClicksAndComesBackWithUpdates)
{
    AppDelegate& app = launch();
    GlassPanel* panel = app.panelWindow();
    app.togglePin();
    ASSERT_TRUE(panel->isVisible());
    Q_EMIT app.tray()->activated(QRect(600, 0, 24, 24));
    EXPECT_TRUE(panel->isVisible());

    // Its close chip still closes it; the next update brings it back.
    app.panelVC()->closePanel();
    EXPECT_FALSE(panel->isVisible());
    app.update();
    EXPECT_TRUE(panel->isVisible());

    app.togglePin(); // unpinning leaves it where it is
    EXPECT_TRUE(panel->isVisible());

    EXPECT_EQ(eventsNamed("Panel Pin Toggled").size(), 2);
    EXPECT_EQ(eventsNamed("Panel Opened").size(), 2) << "pinned, then back after closing";
}

TEST_F(Delegate, TheMenuIsRebuiltForEachOpeningAndItsCommandsWork)
{
    AppDelegate& app = launch();
    QMenu* menu = app.statusMenu();
    const auto actionTitled = [menu](const QString& title) -> QAction* {
        for (QAction* action : menu->actions())
            if (action->text() == title)
                return action;
        return nullptr;
    };

    Q_EMIT menu->aboutToShow();
    ASSERT_NE(actionTitled(QStringLiteral("잠깐 쉴게요")), nullptr);
    EXPECT_EQ(actionTitled(QStringLiteral("퇴근/야근 다시 선택…")), nullptr);
    actionTitled(QStringLiteral("잠깐 쉴게요"))->trigger();
    EXPECT_EQ(Pause::state(), ManualState::rest);

    clock.at(clock.epoch(QDate(2025, 3, 12), QTime(10, 30)));
    Q_EMIT menu->aboutToShow();
    ASSERT_NE(actionTitled(QStringLiteral("다시 일하기")), nullptr);
    EXPECT_EQ(actionTitled(QStringLiteral("잠깐 쉴게요")), nullptr);
    actionTitled(QStringLiteral("다시 일하기"))->trigger();
    EXPECT_EQ(Pause::state(), ManualState::work);

    actionTitled(QStringLiteral("새로고침"))->trigger();
    actionTitled(QStringLiteral("패널 항상 띄우기 (작업 중)"))->trigger();
    EXPECT_TRUE(app.pinned());
    clock.at(clock.epoch(QDate(2025, 3, 12), QTime(10, 31)));
    Q_EMIT menu->aboutToShow();
    EXPECT_TRUE(actionTitled(QStringLiteral("패널 항상 띄우기 (작업 중)"))->isChecked());

    EXPECT_EQ(eventsNamed("Menu Opened").size(), 3);
    EXPECT_EQ(eventsNamed("Manual Refresh").size(), 1);
    EXPECT_EQ(eventsNamed("Pause Changed").size(), 2);
}

// Where a click opens the menu (GNOME), the menu carries the day; a host's flood of AboutToShow
// is one opening, however often it rebuilds the menu.
TEST_F(Delegate, TheMenuStartsWithTheDayAndOpensThePanel)
{
    Wollu::add(47 * 60);
    AppDelegate& app = launch();
    QMenu* menu = app.statusMenu();
    const auto lines = [menu] {
        QStringList texts;
        for (QAction* action : menu->actions().mid(0, 4))
            texts << (action->isSeparator() ? QStringLiteral("-")
                      : action->isEnabled() ? action->text()
                                            : QStringLiteral("(off) ") + action->text());
        return texts;
    };
    for (int i = 0; i < 50; ++i)
        Q_EMIT menu->aboutToShow();
    QStringList shown = lines();
    ASSERT_EQ(shown.size(), 4);
    // 3,000,000 won a month: an hour's work by 10:00 has earned its share.
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("(off) ")) &&
                shown[0].contains(QStringLiteral(" · ")) &&
                shown[0].endsWith(QStringLiteral("원 벌었어요")))
        << shown[0].toStdString();
    EXPECT_TRUE(shown[1].startsWith(QStringLiteral("(off) ⏰ 47분 딴짓 · 💰 ")) &&
                shown[1].endsWith(QStringLiteral("원 월루")))
        << shown[1].toStdString();
    EXPECT_EQ(shown.mid(2), QStringList({QStringLiteral("오늘 자세히 보기"), "-"}));
    const QString earnedAtTen = shown[0];

    // Hidden by the eye button: the slacking line is left out; the figures follow each opening.
    Wollu::toggleHidden();
    ASSERT_TRUE(Wollu::hidden());
    clock.at(clock.epoch(QDate(2025, 3, 12), QTime(11, 0)));
    Q_EMIT menu->aboutToShow();
    shown = lines();
    EXPECT_EQ(shown.value(1), QStringLiteral("오늘 자세히 보기"));
    EXPECT_NE(shown.value(0), earnedAtTen) << "an hour later, more is earned";

    menu->actions().value(1)->trigger();
    EXPECT_TRUE(app.panelWindow()->isVisible());
    EXPECT_EQ(eventsNamed("Panel Opened").size(), 1);
    EXPECT_EQ(eventsNamed("Menu Opened").size(), 2) << "once at 10:00, once at 11:00";
}

TEST_F(Delegate, ABreakEndsWithTheWorkingDay)
{
    AppDelegate& app = launch();
    app.setPause(ManualState::away);
    clock.at(clock.epoch(QDate(2025, 3, 12), QTime(19, 0)));
    Eod::choose(QStringLiteral("overtime"));
    app.update();
    EXPECT_EQ(Pause::state(), ManualState::work);
    // 10:00 to 18:00, not to the moment the application noticed.
    EXPECT_DOUBLE_EQ(Pause::pausedMinutes(Clock::now()), 480);
}

TEST_F(Delegate, ABreakSetFromTheTerminalIsNoticedAtTheNextTick)
{
    launch();
    {
        QSettings other(Store::standard().fileName(), QSettings::NativeFormat);
        other.setValue(SettingsKeys::pauseDay, QStringLiteral("2025-3-12"));
        other.setValue(SettingsKeys::manualState, QStringLiteral("rest"));
        other.setValue(SettingsKeys::pauseStart, Clock::now());
    }
    EXPECT_TRUE(waitFor([] { return Pause::state() == ManualState::rest; }, 3000));
    EXPECT_EQ(eventsNamed("Pause Changed").size(), 1);
}

TEST_F(Delegate, TheDayChangingPhaseIsReportedOncePerChange)
{
    AppDelegate& app = launch();
    app.update();
    clock.at(clock.epoch(QDate(2025, 3, 12), QTime(12, 30)));
    app.update();
    app.update();
    EXPECT_EQ(eventsNamed("Work Status Changed").size(), 1);
}

TEST_F(Delegate, QuittingAsksFirst)
{
    const double launchedAt = Clock::now();
    AppDelegate& app = launch();
    app.setLaunchedAt(launchedAt);
    QSignalSpy confirmed(&app, &AppDelegate::quitConfirmed);

    setNextQuitAnswer(false);
    app.quit();
    EXPECT_EQ(confirmed.count(), 0);

    clock.at(launchedAt + 95 * 60 + 59);
    setNextQuitAnswer(true);
    app.quit();
    EXPECT_EQ(confirmed.count(), 1);

    EXPECT_EQ(eventsNamed("App Quit Cancelled").size(), 1);
    EXPECT_EQ(eventsNamed("App Quit").size(), 1);
}

// The question is modal, but menu clicks still arrive (over D-Bus too): a second "톡웍 종료"
// brings the open question forward; a quit by signal ends it without "App Quit Cancelled".
TEST_F(Delegate, QuittingAgainWhileAskingAsksOnceAndASignalIsNoCancel)
{
    AppDelegate& app = launch();
    QSignalSpy confirmed(&app, &AppDelegate::quitConfirmed);

    bool askedOnce = false;
    QTimer::singleShot(0, [&] {
        QWidget* question = openQuitQuestion();
        ASSERT_NE(question, nullptr);
        EXPECT_TRUE(question->isVisible());
        // Returns at once, with the same question open: a second one would run its own loop here.
        app.quit();
        askedOnce = openQuitQuestion() == question;
        for (QAbstractButton* button : question->findChildren<QAbstractButton*>())
            if (button->text() == QStringLiteral("취소"))
                button->click();
    });
    app.quit();
    EXPECT_TRUE(askedOnce);
    EXPECT_EQ(openQuitQuestion(), nullptr);
    EXPECT_EQ(eventsNamed("App Quit Cancelled").size(), 1);

    QTimer::singleShot(0, [] { dismissQuitQuestion(); });
    app.quit();
    EXPECT_EQ(openQuitQuestion(), nullptr);
    EXPECT_EQ(confirmed.count(), 0) << "the quit itself is the signal's, not this question's";
    EXPECT_EQ(eventsNamed("App Quit Cancelled").size(), 1);
    EXPECT_TRUE(eventsNamed("App Quit").isEmpty());
}

TEST_F(Delegate, OvertimeAsksOnceAndReturnLeaves)
{
    clock.at(clock.epoch(QDate(2025, 3, 12), QTime(18, 12, 54)));
    AppDelegate& app = launch();
    EndOfDayPrompt* prompt = app.eodPrompt();
    ASSERT_TRUE(prompt->isOpen());
    // The tick goes on while the question is open; no second prompt.
    app.update();
    app.update();

    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(prompt->controller()->window(), &enter);
    EXPECT_FALSE(prompt->isOpen());
    EXPECT_EQ(Store::standard().text(SettingsKeys::eodChoice), QStringLiteral("left"));
    EXPECT_FALSE(app.eodPending());

    // Asked again from the menu; closing the window keeps counting overtime.
    app.reChooseEod();
    ASSERT_TRUE(prompt->isOpen());
    prompt->controller()->window()->close();
    EXPECT_EQ(Store::standard().text(SettingsKeys::eodChoice), QStringLiteral("overtime"));

    EXPECT_EQ(eventsNamed("EOD Prompt Shown").size(), 2);
    EXPECT_EQ(eventsNamed("EOD Choice Made").size(), 2);
}

TEST_F(Delegate, TheFirstLaunchRegistersTheStartAtLogin)
{
    launch();
    QFile entry(autostartPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Name=톡웍\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("X-GNOME-Autostart-enabled=true\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Exec=\"")));
    EXPECT_EQ(eventsNamed("Login Item Registered").size(), 1);

    // Already there: nothing written, nothing reported.
    delegate.reset();
    launch();
    EXPECT_EQ(eventsNamed("Login Item Registered").size(), 1);
}

TEST_F(Delegate, AStartAtLoginSwitchedOffByTheUserStaysOff)
{
    QDir().mkpath(QFileInfo(autostartPath()).path());
    const QByteArray switchedOff = "[Desktop Entry]\nType=Application\nName=톡웍\n"
                                   "Exec=/somewhere/else/tockwork\nHidden=true\n";
    {
        QFile entry(autostartPath());
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(switchedOff);
    }
    launch();
    EXPECT_EQ(StoreSandbox::readFile(autostartPath()), switchedOff);
    EXPECT_TRUE(eventsNamed("Login Item Registered").isEmpty());
}

TEST_F(Delegate, ThePanelsButtonsDoWhatTheySayAndReportIt)
{
    // 19:00 after choosing overtime: the dinner and leave buttons show.
    clock.at(clock.epoch(QDate(2025, 3, 12), QTime(19, 0)));
    Eod::choose(QStringLiteral("overtime"));
    AppDelegate& app = launch();
    Q_EMIT app.tray()->activated(QRect(600, 0, 24, 24));
    PanelVC* panel = app.panelVC();
    ASSERT_TRUE(part<ChipButton>(*panel, "dinner")->isVisibleTo(panel));

    part<ChipButton>(*panel, "dinner")->click();
    EXPECT_EQ(computeStatus(Clock::now()).state, DayState::dinner);
    clock.at(clock.epoch(QDate(2025, 3, 12), QTime(19, 40)));
    part<ChipButton>(*panel, "dinner")->click();
    part<ChipButton>(*panel, "slackingEye")->click();
    chipButtons(*panel)[0]->click(); // settings, beside the panel
    part<ChipButton>(*panel, "leave")->click();
    EXPECT_TRUE(Eod::leftToday());

    EXPECT_EQ(eventsNamed("Dinner Started").size(), 1);
    EXPECT_EQ(eventsNamed("Dinner Ended").size(), 1);
    EXPECT_EQ(eventsNamed("Wollu Visibility Toggled").size(), 1);
    EXPECT_EQ(eventsNamed("Settings Opened").size(), 1);
    EXPECT_EQ(eventsNamed("EOD Choice Made").size(), 1);

    // Closing the panel closes the settings beside it.
    chipButtons(*panel)[1]->click();
    EXPECT_FALSE(app.panelWindow()->isVisible());
}

TEST_F(Delegate, TheScriptedDemoShowsFourFixedDaysAndNoTray)
{
    AppDelegate& app = launch({QStringLiteral("tockwork"), QStringLiteral("--demo")});
    EXPECT_EQ(app.tray(), nullptr);
    ASSERT_NE(app.scriptedDemo(), nullptr);
    const auto& panels = app.scriptedDemo()->panels();
    const auto& captions = app.scriptedDemo()->captions();
    ASSERT_EQ(panels.size(), 4u);
    QStringList titles;
    for (size_t i = 0; i < panels.size(); ++i) {
        titles << panels[i]->windowTitle();
        EXPECT_TRUE(panels[i]->isVisible());
        // The caption sits 6 points above its panel, centred on it (give or take the window
        // frame's border, unknown before the window is shown); panels are 20 points apart.
        EXPECT_EQ(captions[i]->geometry().bottom() + 1 + 6, panels[i]->y());
        EXPECT_NEAR(captions[i]->geometry().center().x(), panels[i]->frameGeometry().center().x(),
                    4);
        if (i > 0) {
            EXPECT_EQ(panels[i]->x(), panels[i - 1]->x() + panels[i - 1]->width() + 20);
        }
    }
    EXPECT_EQ(titles, QStringList({"근무중", "점심시간", "야근중", "퇴근"}));
    // Fixed days, whatever the clock says (a working morning here): the third is overtime.
    const auto* overtime = panels[2]->findChild<PanelVC*>();
    ASSERT_NE(overtime, nullptr);
    EXPECT_TRUE(part<ChipButton>(*overtime, "dinner")->isVisibleTo(overtime));

    panels[0]->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(captions[0].isNull() || !captions[0]->isVisible());
    EXPECT_TRUE(eventsNamed("Panel Opened").isEmpty());
}

} // namespace
