// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/Display.h"
#include "ui/tray/MascotAnimation.h"
#include "ui/tray/StatusItem.h"
#include "ui/tray/TrayPlatform.h"

#include <QHash>
#include <QObject>
#include <QRect>
#include <QTimer>

#include <functional>
#include <memory>

class QMenu;

// The ant in the tray: the status item, the picture and tooltip of the day, the mascot's
// animation and the icon's menu.
class TrayIcon final : public QObject
{
    Q_OBJECT
public:
    using DisplaySource = std::function<Display()>;

    // `tray` defaults to the desktop's real tray, `loadFrames` to the art's GIF frames and
    // `display` to the day as it is now.
    explicit TrayIcon(std::unique_ptr<TrayPlatform> tray = nullptr, FrameLoader loadFrames = {},
                      DisplaySource display = {}, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Draws the day's picture and headline; the tray hears of them only when they change.
    void show(const Display& display);
    // Loads the mascot frames and starts stepping them at the art's pace (or slower, where the
    // tray pays for every picture).
    void startAnimation();
    // One step of the mascot's animation.
    void animationStep();

    // The icon's menu. It starts with "종료" (quitRequested); the owner adds its own items, or
    // rebuilds them on the menu's aboutToShow(), which fires before every showing. setMenu()
    // replaces it with a menu the caller owns.
    QMenu* menu() const { return menu_; }
    void setMenu(QMenu* menu);

    StatusItem* statusItem() const { return statusItem_.get(); }
    bool animating() const { return animTimer_.isActive(); }
    double animationIntervalSec() const { return animInterval_; }

Q_SIGNALS:
    // The tray menu's quit entry was chosen.
    void quitRequested();
    // A plain left click on the icon; `anchor` is the icon's geometry, or a 1 x 1 rectangle at the
    // click where the tray only tells that (screen coordinates, device-independent pixels).
    void activated(const QRect& anchor);
    // A right, middle or control click: the menu is about to open there.
    void menuRequested(const QRect& anchor);

private:
    // The tray sprites of `mascot`, one per animation frame, loaded on first use.
    const QList<TraySprite>& spritesOf(const QString& mascot);
    void restartTimer();

    std::unique_ptr<QMenu> ownMenu_;
    QMenu* menu_ = nullptr;
    std::unique_ptr<StatusItem> statusItem_;
    FrameLoader loadFrames_;
    DisplaySource display_;
    MascotAnimator mascotFrames_;
    QHash<QString, QList<TraySprite>> sprites_;
    double artInterval_ = 0;
    double animInterval_ = 0.1;
    QTimer animTimer_;
};
