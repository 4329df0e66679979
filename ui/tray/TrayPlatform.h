// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/TrayImage.h"

#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class QMenu;

// What the tray reports back: where the user clicked and when its pace changed.
struct TrayCallbacks
{
    // A plain left click. The anchor is the icon's geometry where the tray tells it (XEmbed), else
    // a 1 x 1 rectangle at the click (StatusNotifierItem hosts pass the pointer's position), in
    // screen coordinates of Qt (device-independent pixels).
    std::function<void(const QRect& anchor)> activated;
    // A right, middle or control click that opens the menu, told just before the menu opens.
    std::function<void(const QRect& anchor)> menuRequested;
    // The tray switched to a protocol with another minImageIntervalSec().
    std::function<void()> paceChanged;
};

// The desktop's tray as the application sees it. One implementation talks to the real tray
// (StatusNotifierItem over D-Bus, or an XEmbed tray); tests substitute their own.
class TrayPlatform
{
public:
    virtual ~TrayPlatform() = default;

    // Replaces the icon's picture; the tray draws it for its own slot size.
    virtual void setSprite(const TraySprite& sprite) = 0;
    // The tooltip: a headline and a line under it.
    virtual void setToolTip(const QString& title, const QString& text) = 0;
    // The menu of the icon, owned by the caller. Hosts that draw menus themselves get it over
    // D-Bus; elsewhere it pops up as a context menu. Its aboutToShow() fires before each showing.
    virtual void setMenu(QMenu* menu) = 0;
    virtual void setCallbacks(TrayCallbacks callbacks) = 0;
    // The shortest gap between two pictures that the tray takes cheaply; 0 for any rate.
    virtual double minImageIntervalSec() const { return 0; }
};

// The real tray of this desktop, whichever protocol its host speaks, followed as hosts come and go.
std::unique_ptr<TrayPlatform> makeSystemTray();
