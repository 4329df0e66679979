#include "app/AppDelegate.h"

#include "analytics/Analytics.h"
#include "app/CommandLine.h"
#include "display/Display.h"
#include "engine/Clock.h"
#include "engine/Eod.h"
#include "engine/Preview.h"
#include "engine/Status.h"
#include "platform/QuitRequests.h"
#include "tracker/DesktopWollu.h"
#include "tracker/WolluTracker.h"
#include "ui/tray/TrayIcon.h"

#include <QCoreApplication>

AppDelegate::AppDelegate(std::unique_ptr<TrayPlatform> tray, FrameLoader loader, QObject* parent)
    : QObject(parent), pendingTray(std::move(tray)), loadFrames(std::move(loader))
{}

AppDelegate::~AppDelegate() = default;

TrayIcon* AppDelegate::tray() const
{
    return trayIcon.get();
}

void AppDelegate::applicationDidFinishLaunching(const QStringList& args)
{
    const StartOptions options = parseStartOptions(args);
    if (options.scriptedDemo)
        Preview::demoMode = true;
    if (options.demoState)
        Preview::demoState = options.demoState;
    if (Preview::demoState)
        Analytics::setDemoRun();
    Analytics::start();

    // Termination signals and the end of the session quit without asking, and without the event
    // that reports a user's choice to quit.
    quitRequests = std::make_unique<QuitRequests>();
    connect(quitRequests.get(), &QuitRequests::quitRequested, qApp, &QCoreApplication::quit);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);

    trayIcon = std::make_unique<TrayIcon>(std::move(pendingTray), std::move(loadFrames));
    connect(trayIcon.get(), &TrayIcon::quitRequested, qApp, &QCoreApplication::quit);
    update();

    // Slacking is measured on the real day only; a tab read or a wake counted later shows at once.
    if (!Preview::demoState && !Preview::demoMode) {
        wollu_ = std::make_unique<DesktopWollu>();
        connect(&wollu_->tracker(), &WolluTracker::updateRequested, this, &AppDelegate::update);
    }
    connect(&timer, &QTimer::timeout, this, [this] {
        pollWollu();
        update();
    });
    timer.start(kPollMs);
    connect(&tickTimer, &QTimer::timeout, this, [this] {
        if (eodPending())
            update();
    });
    tickTimer.start(kTickMs);

    trayIcon->startAnimation();
}

bool AppDelegate::eodPending() const
{
    return computeStatus(Clock::now()).state == DayState::overtime && !Eod::chosenToday();
}

void AppDelegate::applicationWillTerminate()
{
    if (wollu_)
        wollu_->tracker().endWolluRun();
    Analytics::flushSync();
}

void AppDelegate::pollWollu()
{
    if (wollu_)
        wollu_->poll();
}

void AppDelegate::update()
{
    const Display display = currentDisplay();
    Analytics::updateDailySnapshot(display.status);
    trayIcon->show(display);
}
