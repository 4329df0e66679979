// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// The window the user works in and the application it belongs to.
struct FrontWindow
{
    QString windowClass; // the class part of WM_CLASS ("firefox", "Slack")
    QString instance;    // the instance part of WM_CLASS
    qint64 pid = 0;      // 0 when the window does not say
    QString executable;  // the file name of the process's program, when readable
    QString title;
    QString appName;     // the desktop entry's name (Korean under a Korean locale), when found
    QString desktopFile; // that entry's path

    bool operator==(const FrontWindow&) const = default;
};

// Which facility of the desktop names the window in front: the settings window tells the user,
// and on GNOME that our Shell extension is missing.
enum class FrontSource
{
    none,                  // no display, or a Wayland desktop that names no window to us
    x11,                   // the X server (also XWayland windows on a Wayland desktop)
    wlroots,               // the compositor's window list (sway, Hyprland, labwc, river, Wayfire)
    kwinScript,            // our script inside KWin (KDE Plasma on Wayland)
    gnomeExtension,        // our GNOME Shell extension
    gnomeExtensionMissing, // GNOME on Wayland without the extension: only XWayland windows
};

// Follows the frontmost application as the window manager reports it, without polling. One per
// application: on X11 the events it asks for belong to the application's connection.
class FrontmostApp final : public QObject
{
    Q_OBJECT
public:
    explicit FrontmostApp(QObject* parent = nullptr);
    ~FrontmostApp() override;

    // The window in front as last reported; none when the desktop itself is in front or the
    // platform cannot tell (Wayland without XWayland windows, no display).
    std::optional<FrontWindow> current();
    // Where current() comes from, as chosen when the session started.
    FrontSource source() const;

Q_SIGNALS:
    // Another window came to the front, or the front window's title changed.
    void changed();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
