#include "ui/tray/StatusItem.h"

#include <cstdio>

StatusItem::StatusItem(std::unique_ptr<TrayPlatform> platform, int trayPollMs, QObject* parent)
    : QObject(parent), platform_(std::move(platform))
{
    trayPresent_ = platform_->available();
    if (!trayPresent_)
        std::fputs("tockwork: no system tray yet; the icon will appear when one starts\n", stderr);
    platform_->install();

    // A tray host that is restarted (or starts late) needs the icon again.
    trayPoll_.setInterval(trayPollMs);
    connect(&trayPoll_, &QTimer::timeout, this, &StatusItem::checkTray);
    trayPoll_.start();
}

void StatusItem::setImage(const QImage& image)
{
    // Compares pixels, not cache keys: every render produces a fresh QImage.
    if (image == image_ && image.devicePixelRatio() == image_.devicePixelRatio())
        return;
    image_ = image;
    ++pushes_;
    platform_->setImage(image);
}

void StatusItem::checkTray()
{
    const bool present = platform_->available();
    if (present && !trayPresent_)
        platform_->install();
    trayPresent_ = present;
}
