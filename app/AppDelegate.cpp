// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppDelegate.h"

#include "analytics/Analytics.h"
#include "analytics/DayObserver.h"
#include "analytics/Derived.h"
#include "app/CommandLine.h"
#include "display/Display.h"
#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/Eod.h"
#include "engine/Pause.h"
#include "engine/Preview.h"
#include "engine/Status.h"
#include "engine/Store.h"
#include "ledger/DayCapture.h"
#include "ledger/Ledger.h"
#include "ledger/LedgerRecorder.h"
#include "platform/ColorScheme.h"
#include "platform/DesktopEvents.h"
#include "platform/LoginItem.h"
#include "platform/QuitRequests.h"
#include "preview/ScriptedDemo.h"
#include "slacking/Wollu.h"
#include "tracker/DesktopWollu.h"
#include "tracker/WolluTracker.h"
#include "ui/eod/EndOfDayPrompt.h"
#include "ui/panel/HistoryStrip.h"
#include "ui/panel/PanelPresenter.h"
#include "ui/panel/PanelVC.h"
#include "ui/panel/QuitDialog.h"
#include "ui/panel/StatusMenu.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/settings/SettingsWindows.h"
#include "ui/toolkit/GlassPanel.h"
#include "ui/toolkit/GlassWindow.h"
#include "ui/tray/TrayIcon.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QMenu>
#include <QShortcut>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// A host may ask to show the menu many times for one opening (dbusmenu's AboutToShow, once per
// submenu or in a loop): one opening is reported, not each request.
constexpr double kMenuOpenedIntervalSec = 1.0;

bool isLate(DayState state)
{
    return state == DayState::overtime || state == DayState::dinner;
}

} // namespace

AppDelegate::AppDelegate(std::unique_ptr<TrayPlatform> tray, FrameLoader loader, QObject* parent)
    : QObject(parent), pendingTray(std::move(tray)), loadFrames(std::move(loader)),
      dayObserver_(std::make_unique<DayObserver>()), appLaunchedAt_(Clock::now())
{
    connect(this, &AppDelegate::daySeen, dayObserver_.get(), &DayObserver::daySeen);
}

AppDelegate::~AppDelegate()
{
    // The settings window and the panel go before the monitor that watches them.
    settings_.reset();
    panel_.reset();
}

TrayIcon* AppDelegate::tray() const
{
    return trayIcon.get();
}

void AppDelegate::applicationDidFinishLaunching(const QStringList& args)
{
    applicationDidFinishLaunching(parseCommandLine(args).start);
}

void AppDelegate::applicationDidFinishLaunching(const StartOptions& options)
{
    // Termination signals and the end of the session quit without asking, and without the event
    // that reports a user's choice to quit. First of all, so a signal during the start cannot end
    // the process before the launch it records is saved.
    quitRequests = std::make_unique<QuitRequests>();
    connect(quitRequests.get(), &QuitRequests::quitRequested, qApp, [] {
        // An open "종료할까요?" gets no answer: the user did not decline.
        dismissQuitQuestion();
        QCoreApplication::quit();
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);
    if (options.scriptedDemo)
        Preview::demoMode = true;
    if (options.demoState)
        Preview::demoState = options.demoState;
    const bool demo = Preview::demoState || Preview::demoMode;
    if (demo)
        Analytics::setDemoRun();
    Analytics::start();
    if (options.scriptedDemo) {
        runDemo();
        return;
    }
    if (!demo)
        registerLoginItem();

    connect(this, &AppDelegate::quitConfirmed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);

    desktop_ = std::make_unique<DesktopEvents>();
    colorScheme_ = std::make_unique<ColorScheme>();
    settings_ = std::make_unique<SettingsWindows>();
    connect(settings_.get(), &SettingsWindows::saved, this, &AppDelegate::update);
    // Asked at every layout: the lines follow what the probes learn, once there are probes.
    settings_->setInfoLines([this] {
        return wollu_ ? wollu_->frontSourceLines() + wollu_->browserAddressLines() : QStringList();
    });
    eodPrompt_ = std::make_unique<EndOfDayPrompt>();
    connect(eodPrompt_.get(), &EndOfDayPrompt::chosen, this, &AppDelegate::update);

    trayIcon = std::make_unique<TrayIcon>(std::move(pendingTray), std::move(loadFrames));
    connect(trayIcon.get(), &TrayIcon::quitRequested, this, &AppDelegate::quit);
    connect(trayIcon.get(), &TrayIcon::activated, this, [this](const QRect& anchor) {
        if (panel_)
            panel_->setAnchor(anchor);
        togglePanel();
    });
    connect(trayIcon.get(), &TrayIcon::menuRequested, this, [this](const QRect& anchor) {
        if (panel_)
            panel_->setAnchor(anchor);
    });
    statusMenu_ = std::make_unique<QMenu>();
    connect(statusMenu_.get(), &QMenu::aboutToShow, this, &AppDelegate::rebuildMenu);
    trayIcon->setMenu(statusMenu_.get());
    fillMenu();

    buildPanelWindow();
    update();
    // Without a salary there is nothing to show: every such launch opens the panel with the
    // settings beside it (the settings alone where the panel cannot be shown).
    if (!demo && SettingsWindows::firstRun()) {
        showPanel(QStringLiteral("first_run"));
        if (panel_ && panel_->isShown())
            openSettingsBeside();
        else
            openSettings();
    }

    connect(desktop_.get(), &DesktopEvents::spaceChanged, this, &AppDelegate::spaceChanged);
    connect(colorScheme_.get(), &ColorScheme::changed, this, &AppDelegate::applyAppearance);

    // Slacking is measured on the real day only; a tab read or a wake counted later shows at once.
    if (!Preview::demoState && !Preview::demoMode) {
        wollu_ = std::make_unique<DesktopWollu>();
        connect(&wollu_->tracker(), &WolluTracker::updateRequested, this, &AppDelegate::update);
        // A frozen clock is a test or a scene, not a day to keep in the user's history.
        if (!Clock::frozen()) {
            ledger_ = std::make_unique<LedgerRecorder>(Ledger::standardPath());
            connect(&wollu_->tracker(), &WolluTracker::slackingCounted, ledger_.get(),
                    &LedgerRecorder::addSlacking);
            // The row is written once a minute; the strip shows today as it stands.
            panel_->content()->historyStrip()->setTodaySource(captureDay);
        }
    }
    connect(&timer, &QTimer::timeout, this, [this] {
        pollWollu();
        update();
    });
    timer.start(kPollMs);
    connect(&tickTimer, &QTimer::timeout, this, &AppDelegate::tick);
    tickTimer.start(kTickMs);

    trayIcon->startAnimation();
}

void AppDelegate::buildPanelWindow()
{
    panel_ = std::make_unique<PanelPresenter>(desktop_.get());
    connect(panel_.get(), &PanelPresenter::updateRequested, this, &AppDelegate::update);
    connect(panel_.get(), &PanelPresenter::settingsRequested, this,
            &AppDelegate::openSettingsBeside);
    connect(panel_.get(), &PanelPresenter::hidden, this, &AppDelegate::closeSettings);
    settings_->setPanelWindow(panel_->window());

    // The menu's keys also work while the panel has the keyboard.
    for (const MenuCommand command : {MenuCommand::togglePin, MenuCommand::openSettings,
                                      MenuCommand::refresh, MenuCommand::quit}) {
        auto* shortcut = new QShortcut(menuShortcut(command), panel_->window());
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this, command] { runMenuCommand(command); });
    }
    applyAppearance();
}

bool AppDelegate::eodPending() const
{
    return computeStatus(Clock::now()).state == DayState::overtime && !Eod::chosenToday();
}

void AppDelegate::applicationWillTerminate()
{
    if (wollu_)
        wollu_->tracker().endWolluRun();
    if (ledger_)
        ledger_->recordNowAndWait(); // the day as it ends here, slacking run included
    Analytics::flushSync();
}

void AppDelegate::pollWollu()
{
    if (wollu_)
        wollu_->poll();
}

void AppDelegate::update()
{
    // A fixed scene shows no real day: nothing is asked or ended for it.
    if (!Preview::demoState) {
        askEndOfDayIfPending();
        endPauseAfterWorkingDay(computeStatus(Clock::now()));
    }
    const Display display = currentDisplay();
    Q_EMIT daySeen(display.status);
    Analytics::updateDailySnapshot(display.status);
    trayIcon->show(display);

    if (panel_)
        panel_->dayChanged(display);
}

void AppDelegate::tick()
{
    // `tockwork-cli pause` and `dayoff` write the same file: their change shows at once.
    if (Store::standard().reloadIfChanged() || eodPending())
        update();
    else if (panel_ && panel_->isShown())
        refreshPanel();
}

void AppDelegate::askEndOfDayIfPending()
{
    // The prompt does not block: the tick goes on while it is open, and its answer runs update().
    if (eodPrompt_ && eodPending() && !eodPrompt_->isOpen())
        eodPrompt_->askEndOfDay(QStringLiteral("auto_prompt"));
}

void AppDelegate::endPauseAfterWorkingDay(const Status& status)
{
    Pause::endAfterWorkingDay(status.state, Clock::now());
}

// --- the status item and the panel: the presenter's, as the menu and the tray reach it

void AppDelegate::togglePanel()
{
    if (panel_)
        panel_->togglePanel();
}

void AppDelegate::togglePin()
{
    if (panel_)
        panel_->togglePin();
}

void AppDelegate::showPanel(const QString& trigger)
{
    if (panel_)
        panel_->showPanel(trigger);
}

void AppDelegate::hidePanel()
{
    if (panel_)
        panel_->hidePanel();
}

void AppDelegate::refreshPanel()
{
    if (panel_)
        panel_->refreshPanel();
}

void AppDelegate::panelHeightChanged()
{
    if (panel_)
        panel_->panelHeightChanged();
}

void AppDelegate::placeMainPanelUnderItem()
{
    if (panel_)
        panel_->placeMainPanelUnderItem();
}

bool AppDelegate::fullscreenActive() const
{
    return panel_ && panel_->fullscreenActive();
}

void AppDelegate::spaceChanged()
{
    if (panel_)
        panel_->spaceChanged();
}

GlassPanel* AppDelegate::panelWindow() const
{
    return panel_ ? panel_->window() : nullptr;
}

PanelVC* AppDelegate::panelVC() const
{
    return panel_ ? panel_->content() : nullptr;
}

bool AppDelegate::pinned() const
{
    return panel_ && panel_->pinned();
}

void AppDelegate::openSettings()
{
    if (settings_)
        settings_->openSettings();
}

void AppDelegate::openSettingsBeside()
{
    if (settings_ && panel_)
        settings_->openSettingsBeside(panel_->window()->frameGeometry());
}

void AppDelegate::closeSettings()
{
    if (settings_)
        settings_->closeSettings();
}

// --- the menu

void AppDelegate::rebuildMenu()
{
    const double now = Clock::now();
    // A clock set back is a new opening, not a repeat.
    if (!lastMenuOpenedAt_ || now < *lastMenuOpenedAt_ ||
        now - *lastMenuOpenedAt_ >= kMenuOpenedIntervalSec) {
        lastMenuOpenedAt_ = now;
        Analytics::track(Analytics::Event::menuOpened,
                         {{QStringLiteral("state"), dayStateName(computeStatus(now).state)}});
    }
    fillMenu();
}

void AppDelegate::fillMenu()
{
    const Status fresh = computeStatus(Clock::now());
    MenuContext context;
    context.pinned = pinned();
    context.state = fresh.state;
    context.manual = Preview::demoState ? ManualState::work : Pause::state();
    const Display display = currentDisplay();
    context.canReChoose =
        !Preview::demoState && (isLate(fresh.state) || display.status.state == DayState::done);
    context.dayLine = menuDayLine(display.title, display.earnedText);
    // Off, or hidden behind the panel's eye button: no slacking figures in the menu either.
    if (display.wolluShown)
        context.slackingLine = menuSlackingLine(display.wolluText, display.wolluMoneyText);
    if (statusMenu_)
        fillStatusMenu(*statusMenu_, context,
                       [this](MenuCommand command) { runMenuCommand(command); });
}

void AppDelegate::runMenuCommand(MenuCommand command)
{
    switch (command) {
    case MenuCommand::showPanel:
        showPanel(QStringLiteral("menu"));
        break;
    case MenuCommand::togglePin:
        togglePin();
        break;
    case MenuCommand::reChooseEod:
        reChooseEod();
        break;
    case MenuCommand::rest:
        setPause(ManualState::rest);
        break;
    case MenuCommand::away:
        setPause(ManualState::away);
        break;
    case MenuCommand::backToWork:
        setPause(ManualState::work);
        break;
    case MenuCommand::openSettings:
        openSettings();
        break;
    case MenuCommand::refresh:
        refresh();
        break;
    case MenuCommand::quit:
        quit();
        break;
    }
}

void AppDelegate::refresh()
{
    Analytics::track(Analytics::Event::manualRefresh);
    update();
}

void AppDelegate::reChooseEod()
{
    // An open prompt already asks the same question.
    if (eodPrompt_ && !eodPrompt_->isOpen())
        eodPrompt_->askEndOfDay(QStringLiteral("menu_rechoose"));
    update();
}

void AppDelegate::setPause(ManualState state)
{
    if (Preview::demoState)
        return;
    Pause::set(state, Clock::now());
    update();
}

void AppDelegate::quit()
{
    const std::optional<bool> answer = askToQuit();
    // No answer: the open question was brought forward, or the application ends without it.
    if (!answer)
        return;
    if (!*answer) {
        Analytics::track(Analytics::Event::appQuitCancelled);
        return;
    }
    const Status s = computeStatus(Clock::now());
    Analytics::track(Analytics::Event::appQuit,
                     {{QStringLiteral("session_minutes"),
                       qint64(std::trunc(std::max(Clock::now() - appLaunchedAt_, 0.0) / 60.0))},
                      {QStringLiteral("state"), Analytics::Derived::state(s)},
                      {QStringLiteral("worked_min"), Analytics::Derived::workedMin(s)}});
    Analytics::flushSync();
    Q_EMIT quitConfirmed();
}

void AppDelegate::runDemo()
{
    // Fixed days in titled windows instead of the tray: nothing real is read, asked or reported.
    demo_ = std::make_unique<ScriptedDemo>();
}

// --- start at login and appearance

void AppDelegate::registerLoginItem()
{
    // An entry the user switched off in their desktop's settings is their answer, not a failure.
    if (LoginItem::status() != LoginItem::Status::notRegistered)
        return;
    QString error;
    const bool ok = LoginItem::registerItem(&error);
    if (!ok)
        std::fprintf(stderr, "로그인 항목 등록 실패: %s\n", qPrintable(error));
    Analytics::track(Analytics::Event::loginItemRegistered, {{QStringLiteral("success"), ok}});
}

void AppDelegate::applyAppearance()
{
    // The desktop portal's answer where it gives one; the palette's otherwise.
    const std::optional<bool> dark = colorScheme_ ? colorScheme_->prefersDark() : std::nullopt;
    if (panel_)
        panel_->setAppearance(dark);
    if (eodPrompt_)
        eodPrompt_->setAppearance(dark);
    // The settings window and its dialogs, open or opened later.
    GlassWindow::followDesktop(dark);
}
