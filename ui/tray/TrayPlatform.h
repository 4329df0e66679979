#pragma once

#include <QImage>

#include <functional>
#include <memory>

// The desktop's tray as the application sees it. One implementation talks to the real tray
// (StatusNotifierItem over D-Bus or an XEmbed tray); tests substitute their own.
class TrayPlatform
{
public:
    virtual ~TrayPlatform() = default;

    // Whether a tray host is running right now.
    virtual bool available() const = 0;
    // Puts the icon into the tray (again): called at start and whenever a tray appears.
    virtual void install() = 0;
    // Replaces the icon's picture.
    virtual void setImage(const QImage& image) = 0;
    // The shortest gap between two pictures that the tray takes cheaply; 0 for any rate.
    virtual double minImageIntervalSec() const { return 0; }
    // The chosen "quit" entry of the icon's menu calls this.
    virtual void setQuitHandler(std::function<void()> quit) = 0;
};

// The real tray of this desktop.
std::unique_ptr<TrayPlatform> makeSystemTray();
