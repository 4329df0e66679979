#pragma once

#include "display/Display.h"
#include "ui/tray/MascotAnimation.h"
#include "ui/tray/StatusItem.h"
#include "ui/tray/TrayPlatform.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

// The ant in the tray: the status item, the picture of the day and the mascot's animation.
class TrayIcon final : public QObject
{
    Q_OBJECT
public:
    using DisplaySource = std::function<Display()>;

    // `tray` defaults to the desktop's real tray, `loadFrames` to the art's GIF frames and
    // `display` to the day as it is now.
    explicit TrayIcon(std::unique_ptr<TrayPlatform> tray = nullptr, FrameLoader loadFrames = {},
                      DisplaySource display = {}, QObject* parent = nullptr);

    // Draws the day's picture; the tray hears of it only when its pixels change.
    void show(const Display& display);
    // Loads the mascot frames and starts stepping them at the art's pace (or slower, where the
    // tray pays for every picture).
    void startAnimation();
    // One step of the mascot's animation.
    void animationStep();

    StatusItem* statusItem() const { return statusItem_.get(); }
    bool animating() const { return animTimer_.isActive(); }
    double animationIntervalSec() const { return animInterval_; }

Q_SIGNALS:
    // The tray menu's quit entry was chosen.
    void quitRequested();

private:
    std::unique_ptr<StatusItem> statusItem_;
    FrameLoader loadFrames_;
    DisplaySource display_;
    MascotAnimator mascotFrames_;
    double animInterval_ = 0.1;
    QTimer animTimer_;
};
