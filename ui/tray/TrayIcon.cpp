// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/TrayIcon.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include <algorithm>

namespace {

// The frames of one art name: an animation's frames, or a still picture as its only frame.
QList<QImage> framesOrStill(const FrameLoader& load, const QString& name)
{
    if (const auto set = load(name); set && !set->frames.isEmpty())
        return set->frames;
    if (const auto still = loadArt(name))
        return {*still};
    return {};
}

} // namespace

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

    ownMenu_ = std::make_unique<QMenu>();
    QAction* quit = ownMenu_->addAction(QStringLiteral("종료"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &TrayIcon::quitRequested);
    menu_ = ownMenu_.get();

    statusItem_ = std::make_unique<StatusItem>(std::move(tray));
    statusItem_->setMenu(menu_);
    connect(statusItem_.get(), &StatusItem::activated, this, &TrayIcon::activated);
    connect(statusItem_.get(), &StatusItem::menuRequested, this, &TrayIcon::menuRequested);
    connect(statusItem_.get(), &StatusItem::paceChanged, this, [this] {
        if (animating())
            restartTimer();
    });
    connect(&animTimer_, &QTimer::timeout, this, &TrayIcon::animationStep);
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::setMenu(QMenu* menu)
{
    menu_ = menu ? menu : ownMenu_.get();
    statusItem_->setMenu(menu_);
}

const QList<TraySprite>& TrayIcon::spritesOf(const QString& mascot)
{
    if (const auto it = sprites_.constFind(mascot); it != sprites_.constEnd())
        return *it;
    QList<QList<QImage>> sizes;
    for (const char* size : {"_16", "_22"}) {
        QList<QImage> frames = framesOrStill(loadFrames_, mascot + QLatin1String(size));
        if (!frames.isEmpty())
            sizes.append(std::move(frames));
    }
    // Art without tray drawings (the user's own, say) still shows, as its one picture.
    if (sizes.isEmpty()) {
        QList<QImage> frames = framesOrStill(loadFrames_, mascot);
        if (!frames.isEmpty())
            sizes.append(std::move(frames));
    }
    qsizetype count = 0;
    for (const QList<QImage>& frames : sizes)
        count = std::max(count, frames.size());
    QList<TraySprite> sprites;
    for (qsizetype i = 0; i < count; ++i) {
        TraySprite sprite;
        for (const QList<QImage>& frames : sizes)
            sprite.drawings.append(
                frames[i % frames.size()].convertToFormat(QImage::Format_ARGB32));
        sprites.append(sprite);
    }
    return *sprites_.insert(mascot, sprites);
}

void TrayIcon::show(const Display& display)
{
    const QList<TraySprite>& sprites = spritesOf(display.mascot);
    // The animation's frame while it shows this mascot; the still picture (frame 0) otherwise.
    const int frame = mascotFrames_.animates(display.mascot) ? mascotFrames_.frameIndex() : 0;
    TraySprite sprite = sprites.isEmpty() ? TraySprite{} : sprites[frame % sprites.size()];
    // The day's progress under the ant: a glance at the tray says how far the day is.
    if (!sprite.isNull())
        sprite.bar = trayBarFor(display.status);
    statusItem_->setSprite(sprite);
    // The headline is today's whole pay, overtime included, when there is one; the phase under it.
    if (display.totalText.isEmpty())
        statusItem_->setToolTip(display.title, display.earnedText);
    else
        statusItem_->setToolTip(display.totalText, display.title);
}

void TrayIcon::startAnimation()
{
    LoadedMascots loaded = loadMascotAnimations(loadFrames_);
    if (loaded.frames.isEmpty())
        return;
    mascotFrames_ = MascotAnimator(std::move(loaded.frames));
    artInterval_ = loaded.interval;
    restartTimer();
}

void TrayIcon::restartTimer()
{
    // Frames step evenly at the art's pace; a tray that pays for every picture slows them down
    // rather than skipping some.
    animInterval_ = std::max(artInterval_, statusItem_->minImageIntervalSec());
    animTimer_.start(int(animInterval_ * 1000 + 0.5));
}

void TrayIcon::animationStep()
{
    const Display display = display_();
    if (mascotFrames_.step(display.mascot) == MascotAnimator::Step::idle)
        return;
    show(display);
}
