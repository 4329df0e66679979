// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/StatusItem.h"

StatusItem::StatusItem(std::unique_ptr<TrayPlatform> platform, QObject* parent)
    : QObject(parent), platform_(std::move(platform))
{
    platform_->setCallbacks({
        .activated = [this](const QRect& anchor) { Q_EMIT activated(anchor); },
        .menuRequested = [this](const QRect& anchor) { Q_EMIT menuRequested(anchor); },
        .paceChanged = [this] { Q_EMIT paceChanged(); },
    });
}

void StatusItem::setSprite(const TraySprite& sprite)
{
    // Compares pixels, not cache keys: every step builds its sprite anew.
    if (sprite == sprite_ && imagePushes_ > 0)
        return;
    sprite_ = sprite;
    ++imagePushes_;
    platform_->setSprite(sprite_);
}

void StatusItem::setToolTip(const QString& title, const QString& text)
{
    if (title == toolTipTitle_ && text == toolTipText_ && toolTipSent_)
        return;
    toolTipTitle_ = title;
    toolTipText_ = text;
    toolTipSent_ = true;
    platform_->setToolTip(title, text);
}
