#include "ui/tray/TrayIcon.h"

#include "render/MenuBarImage.h"
#include "ui/tray/TrayPixelRatio.h"

#include <algorithm>

TrayIcon::TrayIcon(std::unique_ptr<TrayPlatform> tray, FrameLoader loadFrames,
                   DisplaySource display, QObject* parent)
    : QObject(parent), loadFrames_(std::move(loadFrames)), display_(std::move(display))
{
    if (!loadFrames_)
        loadFrames_ = [](const QString& name) { return gifFrames(name); };
    if (!display_)
        display_ = [] { return currentDisplay(); };
    if (!tray)
        tray = makeSystemTray();
    tray->setQuitHandler([this] { Q_EMIT quitRequested(); });
    statusItem_ = std::make_unique<StatusItem>(std::move(tray));
    connect(&animTimer_, &QTimer::timeout, this, &TrayIcon::animationStep);
}

void TrayIcon::show(const Display& display)
{
    statusItem_->setImage(renderMenuBar(display, trayPixelRatio()));
}

void TrayIcon::startAnimation()
{
    LoadedMascots loaded = loadMascotAnimations(loadFrames_);
    if (loaded.frames.isEmpty())
        return;
    mascotFrames_ = MascotAnimator(std::move(loaded.frames));
    // Frames step evenly at the art's pace; a tray that pays for every picture slows them down
    // rather than skipping some.
    animInterval_ = std::max(loaded.interval, statusItem_->minImageIntervalSec());
    animTimer_.start(int(animInterval_ * 1000 + 0.5));
}

void TrayIcon::animationStep()
{
    const Display display = display_();
    if (mascotFrames_.step(display.mascot) == MascotAnimator::Step::idle)
        return;
    show(display);
}
