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
#include "ui/panel/OutsideClickMonitor.h"
#include "ui/panel/PanelPlacement.h"
#include "ui/panel/PanelVC.h"
#include "ui/panel/QuitDialog.h"
#include "ui/panel/StatusMenu.h"
#include "ui/settings/GlassWindow.h"
#include "ui/settings/InfoBlock.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/settings/SettingsWindows.h"
#include "ui/toolkit/GlassPanel.h"
#include "ui/tray/TrayIcon.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QMenu>
#include <QShortcut>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The same click that closed the panel from outside reaches the icon a moment later.
constexpr double kReopenGuardSec = 0.5;

// A host may ask to show the menu many times for one opening (dbusmenu's AboutToShow, once per
// submenu or in a loop): one opening is reported, not each request.
constexpr double kMenuOpenedIntervalSec = 1.0;

bool isLate(DayState state)
{
    return state == DayState::overtime || state == DayState::dinner;
}

QVariantMap statusProperties(const Status& s)
{
    return {{QStringLiteral("state"), Analytics::Derived::state(s)},
            {QStringLiteral("progress_pct"), Analytics::Derived::progressPct(s)},
            {QStringLiteral("worked_min"), Analytics::Derived::workedMin(s)},
            {QStringLiteral("wollu_min"), Analytics::Derived::wolluMin()}};
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
    InfoBlock::setBrowserAddressLines({});
    settings_.reset();
    panelWindow_.reset();
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
    eodPrompt_ = std::make_unique<EndOfDayPrompt>();
    connect(eodPrompt_.get(), &EndOfDayPrompt::chosen, this, &AppDelegate::update);

    trayIcon = std::make_unique<TrayIcon>(std::move(pendingTray), std::move(loadFrames));
    connect(trayIcon.get(), &TrayIcon::quitRequested, this, &AppDelegate::quit);
    connect(trayIcon.get(), &TrayIcon::activated, this, [this](const QRect& anchor) {
        anchor_ = anchor;
        togglePanel();
    });
    connect(trayIcon.get(), &TrayIcon::menuRequested, this,
            [this](const QRect& anchor) { anchor_ = anchor; });
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
        if (panelWindow_ && panelWindow_->isVisible())
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
        InfoBlock::setBrowserAddressLines([this] {
            return wollu_ ? wollu_->frontSourceLines() + wollu_->browserAddressLines()
                          : QStringList();
        });
        // A frozen clock is a test or a scene, not a day to keep in the user's history.
        if (!Clock::frozen()) {
            ledger_ = std::make_unique<LedgerRecorder>(Ledger::standardPath());
            connect(&wollu_->tracker(), &WolluTracker::slackingCounted, ledger_.get(),
                    &LedgerRecorder::addSlacking);
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
    panelVC_ = new PanelVC;
    connect(panelVC_, &PanelVC::updateRequested, this, &AppDelegate::update);
    connect(panelVC_, &PanelVC::heightChanged, this, &AppDelegate::panelHeightChanged);
    connect(panelVC_, &PanelVC::settingsRequested, this, &AppDelegate::openSettingsBeside);
    connect(panelVC_, &PanelVC::closeRequested, this, &AppDelegate::hidePanel);
    panelVC_->refresh();
    panelWindow_.reset(makeGlassPanel(panelVC_, false));
    panelWindow_->setWindowTitle(QStringLiteral("톡웍"));
    settings_->setPanelWindow(panelWindow_.get());

    outsideClickMonitor_ = std::make_unique<OutsideClickMonitor>(desktop_.get());
    connect(outsideClickMonitor_.get(), &OutsideClickMonitor::outsideClick, this, [this] {
        if (pinned_ || !panelWindow_->isVisible())
            return;
        hiddenByOutsideClickAt_ = Clock::now();
        hidePanel();
    });

    // The menu's keys also work while the panel has the keyboard.
    for (const MenuCommand command : {MenuCommand::togglePin, MenuCommand::openSettings,
                                      MenuCommand::refresh, MenuCommand::quit}) {
        auto* shortcut = new QShortcut(menuShortcut(command), panelWindow_.get());
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

    if (!panelWindow_)
        return;
    if (pinned_ && !panelWindow_->isVisible()) {
        showPanel(QStringLiteral("pin"));
    } else if (panelWindow_->isVisible()) {
        panelVC_->apply(display);
        placeMainPanelUnderItem();
    }
}

void AppDelegate::tick()
{
    // `tockwork-cli pause` and `dayoff` write the same file: their change shows at once.
    if (Store::standard().reloadIfChanged() || eodPending())
        update();
    else if (panelWindow_ && panelWindow_->isVisible())
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

// --- the status item and the panel

void AppDelegate::togglePanel()
{
    if (!panelWindow_)
        return;
    if (!pinned_ && panelWindow_->isVisible()) {
        hidePanel();
        return;
    }
    if (!pinned_ && Clock::now() - hiddenByOutsideClickAt_ < kReopenGuardSec)
        return;
    showPanel(QStringLiteral("menubar_click"));
}

void AppDelegate::togglePin()
{
    pinned_ = !pinned_;
    Analytics::track(Analytics::Event::panelPinToggled, {{QStringLiteral("pinned"), pinned_}});
    if (pinned_)
        showPanel(QStringLiteral("pin"));
}

void AppDelegate::showPanel(const QString& trigger)
{
    if (!panelWindow_)
        return;
    if (fullscreenActive()) {
        hidePanel();
        return;
    }
    const bool wasVisible = panelWindow_->isVisible();
    refreshPanel();
    placeMainPanelUnderItem();
    panelWindow_->show();
    panelWindow_->raise();
    outsideClickMonitor_->install();
    if (wasVisible)
        return;
    panelOpenedAt_ = Clock::now();
    QVariantMap properties = statusProperties(computeStatus(Clock::now()));
    properties.insert(QStringLiteral("trigger"), trigger);
    properties.insert(QStringLiteral("pinned"), pinned_);
    Analytics::track(Analytics::Event::panelOpened, properties);
}

void AppDelegate::hidePanel()
{
    if (!panelWindow_)
        return;
    const bool wasVisible = panelWindow_->isVisible();
    panelWindow_->hide();
    outsideClickMonitor_->remove();
    closeSettings();
    if (wasVisible && panelOpenedAt_) {
        Analytics::track(
            Analytics::Event::panelClosed,
            {{QStringLiteral("dwell_seconds"),
              Analytics::Derived::rounded(Clock::now() - *panelOpenedAt_)},
             {QStringLiteral("state"), Analytics::Derived::state(computeStatus(Clock::now()))}});
    }
    panelOpenedAt_.reset();
}

void AppDelegate::refreshPanel()
{
    if (panelVC_)
        panelVC_->refresh();
}

void AppDelegate::panelHeightChanged()
{
    if (!panelWindow_)
        return;
    // The window follows the panel's size by itself; only its place depends on the height.
    placeMainPanelUnderItem();
}

void AppDelegate::placeMainPanelUnderItem()
{
    if (!panelWindow_)
        return;
    const std::optional<QPoint> origin =
        panelOrigin(anchor_, panelWindow_->size(), currentPanelScreens());
    if (origin && panelWindow_->pos() != *origin)
        panelWindow_->move(*origin);
}

bool AppDelegate::fullscreenActive() const
{
    if (!desktop_)
        return false;
    const QList<PanelScreen> screens = currentPanelScreens();
    std::optional<qsizetype> screen = anchor_ ? screenHolding(*anchor_, screens) : std::nullopt;
    if (!screen)
        screen = anchor_ && !screens.isEmpty() ? 0 : largestScreen(screens);
    return desktop_->fullScreenActive(screen ? screens[*screen].geometry : QRect());
}

void AppDelegate::spaceChanged()
{
    if (!pinned_)
        return;
    if (fullscreenActive())
        hidePanel();
    else
        showPanel(QStringLiteral("menubar_click"));
}

void AppDelegate::openSettings()
{
    if (settings_)
        settings_->openSettings();
}

void AppDelegate::openSettingsBeside()
{
    if (settings_ && panelWindow_)
        settings_->openSettingsBeside(panelWindow_->frameGeometry());
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
    context.pinned = pinned_;
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
    if (panelWindow_)
        panelWindow_->glass()->setAppearance(dark);
    if (panelVC_) {
        panelVC_->setAppearance(dark);
        if (panelWindow_ && panelWindow_->isVisible())
            refreshPanel();
    }
    if (eodPrompt_)
        eodPrompt_->setAppearance(dark);
    // The settings window and its dialogs, open or opened later.
    GlassWindow::followDesktop(dark);
}
