// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Analytics.h"
#include "analytics/Testing.h"
#include "app/AppDelegate.h"
#include "engine/Clock.h"
#include "engine/Eod.h"
#include "engine/Pause.h"
#include "engine/SettingsKeys.h"
#include "engine/Status.h"
#include "engine/Store.h"
#include "preview/ScriptedDemo.h"
#include "render/Resources.h"
#include "slacking/Wollu.h"
#include "ui/eod/EndOfDayPrompt.h"
#include "ui/eod/EodWindow.h"
#include "ui/eod/EodWindowController.h"
#include "ui/panel/PanelVC.h"
#include "ui/panel/QuitDialog.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/GlassPanel.h"
#include "ui/tray/TrayIcon.h"
#include "ui/tray/TrayPlatform.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include "PanelParts.h"
#include "Sandbox.h"
#include "TestServer.h"

namespace {

struct SilentTray final : TrayPlatform
{
    void setSprite(const TraySprite&) override {}
    void setToolTip(const QString&, const QString&) override {}
    void setMenu(QMenu*) override {}
    void setCallbacks(TrayCallbacks) override {}
};

bool waitUntil(const std::function<bool()>& done, int ms = 5000)
{
    for (QDeadlineTimer deadline(ms); !done(); QThread::msleep(2)) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The whole application as the user meets it, on a private store and home, with a tray that
// draws nothing and the analytics library aimed at a local server.
class Delegate : public testing::Test
{
protected:
    void SetUp() override
    {
        sandbox.useAsHome();
        Resources::setBundleDir(sandbox.dir()); // no art: nothing to animate
        Analytics::Testing::reset();
        Analytics::Testing::setBaseUrl(server.baseUrl());
        Analytics::Testing::setFlushPeriodMs(50);
        // A salary is set: a first launch without one opens the settings as well.
        Store::standard().set(SettingsKeys::monthlySalaryWon.key, 3'000'000);
        Store::standard().flush();
    }
    void TearDown() override
    {
        delegate.reset();
        setNextQuitAnswer(std::nullopt);
        Analytics::Testing::reset();
    }

    AppDelegate& launch(const QStringList& args = {QStringLiteral("tockwork")})
    {
        delegate = std::make_unique<AppDelegate>(std::make_unique<SilentTray>(),
                                                 [](const QString&) { return std::nullopt; });
        delegate->applicationDidFinishLaunching(args);
        return *delegate;
    }

    QJsonArray events()
    {
        Analytics::flush();
        EXPECT_TRUE(waitUntil([] {
            return Analytics::Testing::bufferedCount() == 0 &&
                   Analytics::Testing::inFlightCount() == 0;
        }));
        return server.records();
    }
    // The properties of every event called `name`, in order.
    QList<QJsonObject> eventsNamed(const char* name)
    {
        QList<QJsonObject> found;
        for (const QJsonValue& e : events())
            if (e[QStringLiteral("event")].toString() == QLatin1String(name))
                found << e[QStringLiteral("properties")].toObject();
        return found;
    }

    QString autostartPath() const
    {
        return sandbox.filePath(QStringLiteral("config/autostart/tockwork.desktop"));
    }

    StoreSandbox sandbox;
    // A Wednesday in Seoul (the test's TZ) during working hours of the default schedule.
    FrozenClock clock{QDate(2025, 3, 12), QTime(10, 0)};
    TestServer server;
    std::unique_ptr<AppDelegate> delegate;
};

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

    const QList<QJsonObject> opened = eventsNamed("Panel Opened");
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0]["trigger"].toString(), "menubar_click");
    EXPECT_EQ(opened[0]["state"].toString(), "working");
    EXPECT_EQ(opened[0]["worked_min"].toInt(), 60);
    EXPECT_EQ(opened[0]["progress_pct"].toInt(), 13);
    EXPECT_EQ(opened[0]["pinned"].toBool(), false);
    const QList<QJsonObject> closed = eventsNamed("Panel Closed");
    ASSERT_EQ(closed.size(), 1);
    EXPECT_EQ(closed[0]["dwell_seconds"].toInt(), 42);
    EXPECT_EQ(closed[0]["state"].toString(), "working");
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

    const QList<QJsonObject> pins = eventsNamed("Panel Pin Toggled");
    ASSERT_EQ(pins.size(), 2);
    EXPECT_TRUE(pins[0]["pinned"].toBool());
    EXPECT_FALSE(pins[1]["pinned"].toBool());
    const QList<QJsonObject> opened = eventsNamed("Panel Opened");
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0]["trigger"].toString(), "pin");
    EXPECT_TRUE(opened[0]["pinned"].toBool());
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

    const QList<QJsonObject> menus = eventsNamed("Menu Opened");
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]["state"].toString(), "working");
    EXPECT_EQ(eventsNamed("Manual Refresh").size(), 1);
    const QList<QJsonObject> pauses = eventsNamed("Pause Changed");
    ASSERT_EQ(pauses.size(), 2);
    EXPECT_EQ(pauses[0]["state"].toString(), "rest");
    EXPECT_EQ(pauses[1]["state"].toString(), "work");
    EXPECT_EQ(pauses[1]["paused_min"].toInt(), 30);
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
    const QList<QJsonObject> opened = eventsNamed("Panel Opened");
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0]["trigger"].toString(), "menu");
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
    EXPECT_TRUE(waitUntil([] { return Pause::state() == ManualState::rest; }, 3000));
    EXPECT_EQ(eventsNamed("Pause Changed").size(), 1);
}

TEST_F(Delegate, TheDayChangingPhaseIsReportedOncePerChange)
{
    AppDelegate& app = launch();
    app.update();
    clock.at(clock.epoch(QDate(2025, 3, 12), QTime(12, 30)));
    app.update();
    app.update();
    const QList<QJsonObject> changes = eventsNamed("Work Status Changed");
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0]["from_state"].toString(), "working");
    EXPECT_EQ(changes[0]["to_state"].toString(), "lunch");
    EXPECT_EQ(changes[0]["minute_of_day"].toInt(), 750);
    EXPECT_EQ(changes[0]["worked_min"].toInt(), 180);
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
    const QList<QJsonObject> quits = eventsNamed("App Quit");
    ASSERT_EQ(quits.size(), 1);
    EXPECT_EQ(quits[0]["session_minutes"].toInt(), 95);
    EXPECT_EQ(quits[0]["state"].toString(), "working");
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

    const QList<QJsonObject> shown = eventsNamed("EOD Prompt Shown");
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0]["source"].toString(), "auto_prompt");
    EXPECT_EQ(shown[1]["source"].toString(), "menu_rechoose");
    const QList<QJsonObject> made = eventsNamed("EOD Choice Made");
    ASSERT_EQ(made.size(), 2);
    EXPECT_EQ(made[0]["choice"].toString(), "left");
    EXPECT_EQ(made[0]["minutes_past_work_end"].toInt(), 12);
    EXPECT_EQ(made[1]["choice"].toString(), "overtime");
    EXPECT_EQ(made[1]["source"].toString(), "menu_rechoose");
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
    const QList<QJsonObject> registered = eventsNamed("Login Item Registered");
    ASSERT_EQ(registered.size(), 1);
    EXPECT_TRUE(registered[0]["success"].toBool());

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

    const QList<QJsonObject> started = eventsNamed("Dinner Started");
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started[0]["overtime_min"].toInt(), 60);
    const QList<QJsonObject> ended = eventsNamed("Dinner Ended");
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended[0]["dinner_min"].toInt(), 40);
    EXPECT_EQ(eventsNamed("Wollu Visibility Toggled").size(), 1);
    const QList<QJsonObject> settings = eventsNamed("Settings Opened");
    ASSERT_EQ(settings.size(), 1);
    EXPECT_EQ(settings[0]["entry_point"].toString(), "panel_button");
    const QList<QJsonObject> left = eventsNamed("EOD Choice Made");
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0]["choice"].toString(), "left");
    EXPECT_EQ(left[0]["source"].toString(), "panel_leave_button");
    EXPECT_EQ(left[0]["overtime_min"].toInt(), 60); // 100 minutes past six, 40 of them dinner
    EXPECT_EQ(left[0]["minutes_past_work_end"].toInt(), 100);

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
