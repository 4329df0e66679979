#pragma once

#include "ui/tray/TrayPlatform.h"

#include <QImage>
#include <QObject>
#include <QTimer>

#include <memory>

// TockWork's icon in the tray. It hands the tray a picture only when its pixels change: on
// StatusNotifierItem every change is a D-Bus round trip and a repaint in the tray host. Many
// panels start after their applications, so it waits for a tray to appear instead of giving up.
class StatusItem final : public QObject
{
    Q_OBJECT
public:
    explicit StatusItem(std::unique_ptr<TrayPlatform> platform, int trayPollMs = kTrayPollMs,
                        QObject* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }

    // The tray's cheapest pace for new pictures (0: any).
    double minImageIntervalSec() const { return platform_->minImageIntervalSec(); }

    // How often the tray was given a new picture.
    int imagePushes() const { return pushes_; }

    // How often the tray's presence is checked: cheap, and quick enough for a panel that starts
    // after the application.
    static constexpr int kTrayPollMs = 3000;

private:
    void checkTray();

    std::unique_ptr<TrayPlatform> platform_;
    QImage image_;
    int pushes_ = 0;
    bool trayPresent_ = false;
    QTimer trayPoll_;
};
