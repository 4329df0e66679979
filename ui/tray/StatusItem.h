// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/tray/TrayPlatform.h"

#include <QObject>
#include <QRect>

#include <memory>

// TockWork's icon in the tray. It hands the tray a picture only when its pixels change, and a
// tooltip only when its text changes: on StatusNotifierItem every change is a D-Bus signal and a
// round trip from the tray host, which repaints.
class StatusItem final : public QObject
{
    Q_OBJECT
public:
    explicit StatusItem(std::unique_ptr<TrayPlatform> platform, QObject* parent = nullptr);

    void setSprite(const TraySprite& sprite);
    const TraySprite& sprite() const { return sprite_; }
    void setToolTip(const QString& title, const QString& text);
    void setMenu(QMenu* menu) { platform_->setMenu(menu); }

    // The tray's cheapest pace for new pictures (0: any).
    double minImageIntervalSec() const { return platform_->minImageIntervalSec(); }

    // How often the tray was given a new picture.
    int imagePushes() const { return imagePushes_; }

Q_SIGNALS:
    void activated(const QRect& anchor);
    void menuRequested(const QRect& anchor);
    void paceChanged();

private:
    std::unique_ptr<TrayPlatform> platform_;
    TraySprite sprite_;
    QString toolTipTitle_;
    QString toolTipText_;
    int imagePushes_ = 0;
    bool toolTipSent_ = false;
};
