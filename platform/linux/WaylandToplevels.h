// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FrontmostApp.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// The windows a wlroots compositor (sway, Hyprland, labwc, river, Wayfire) lists for taskbars
// through zwlr_foreign_toplevel_manager_v1, followed on a Wayland connection of our own: Qt's,
// where Qt draws through Wayland at all, belongs to Qt's own event queue and thread. Native
// Wayland windows and XWayland windows alike are listed, each with its application id (an
// XWayland window's is its WM_CLASS class) and title.
class WaylandToplevels final : public QObject
{
    Q_OBJECT
public:
    struct Toplevel
    {
        QString appId;
        QString title;

        bool operator==(const Toplevel&) const = default;
    };

    // Connects to the session's compositor (WAYLAND_DISPLAY); none without a Wayland display or
    // when the compositor does not offer the list.
    static std::unique_ptr<WaylandToplevels> connectToSession();
    ~WaylandToplevels() override;

    // The window with the focus as last reported; none when no window has it (the desktop or a
    // panel is in front) or the compositor went away.
    std::optional<Toplevel> activated() const;

    // The window in front on a wlroots desktop: the X11 source's window when the activated
    // toplevel is that XWayland window (it knows the process and the instance), else the native
    // window named by its application id, with the desktop entry that id names.
    static std::optional<FrontWindow> frontWindow(const std::optional<Toplevel>& activated,
                                                  const std::optional<FrontWindow>& x11);

Q_SIGNALS:
    // The activated window changed, or its title or application id did.
    void changed();

private:
    WaylandToplevels();

    struct Impl;
    std::unique_ptr<Impl> d;
};
