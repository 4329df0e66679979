#include "AppDelegate.h"

#include "Clock.h"
#include "CommandLine.h"
#include "Display.h"
#include "Eod.h"
#include "MenuBarImage.h"
#include "Preview.h"
#include "Status.h"
#include "TrayPixelRatio.h"

#include "analytics/Analytics.h"
#include <algorithm>

namespace {

QImage renderTrayImage(const Display& display)
{
    return renderMenuBar(display, trayPixelRatio());
}

} // namespace

AppDelegate::AppDelegate(std::unique_ptr<TrayPlatform> tray, FrameLoader loader, QObject* parent)
    : QObject(parent), pendingTray(std::move(tray)), loadFrames(std::move(loader)),
      lastPoll(Clock::now())
{
    if (!loadFrames)
        loadFrames = [](const QString& name) { return gifFrames(name); };
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching(const QStringList& args)
{
    const StartOptions options = parseStartOptions(args);
    if (options.scriptedDemo) {
        Preview::demoMode = true;
        if (runDemo())
            return;
    }
    if (options.demoState)
        Preview::demoState = options.demoState;
    if (Preview::demoState)
        Analytics::setDemoRun();
    Analytics::start();
    registerLoginItem();

    statusItem =
        std::make_unique<StatusItem>(pendingTray ? std::move(pendingTray) : makeSystemTray());
    buildPanelWindow();
    update();
    registerSystemObservers();
    lastPoll = Clock::now();

    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
        pollWollu();
        update();
    });
    timer->start(kPollMs);

    tickTimer = new QTimer(this);
    connect(tickTimer, &QTimer::timeout, this, [this] {
        if (eodPending())
            update();
        if (panelVisible())
            refreshPanel();
    });
    tickTimer->start(kTickMs);

    LoadedMascots loaded = loadMascotAnimations(loadFrames);
    if (loaded.frames.isEmpty())
        return;
    mascotFrames = MascotAnimator(std::move(loaded.frames));
    // Frames step evenly at the art's pace; a tray that pays for every picture slows them down
    // rather than skipping some.
    animInterval = std::max(loaded.interval, statusItem->minImageIntervalSec());
    menubarAnimTimer = new QTimer(this);
    connect(menubarAnimTimer, &QTimer::timeout, this, &AppDelegate::animationStep);
    menubarAnimTimer->start(int(animInterval * 1000 + 0.5));
}

bool AppDelegate::eodPending() const
{
    return computeStatus(Clock::now()).state == DayState::overtime && !Eod::chosenToday();
}

void AppDelegate::update()
{
    const Status status = computeStatus(Clock::now());
    if (status.state == DayState::overtime && !Eod::chosenToday())
        askEndOfDay(QStringLiteral("auto_prompt"));

    const Display display = currentDisplay();
    trackStateTransition(display.status);
    Analytics::updateDailySnapshot(display.status);
    statusItem->setImage(renderTrayImage(display));

    if (pinned && !panelVisible()) {
        showPanel(QStringLiteral("pin"));
        return;
    }
    if (panelVisible()) {
        refreshPanel();
        placeMainPanelUnderItem();
    }
}

void AppDelegate::animationStep()
{
    if (mascotFrames.step(currentDisplay().mascot) == MascotAnimator::Step::idle)
        return;
    statusItem->setImage(renderTrayImage(currentDisplay()));
}
