// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FrontmostApp.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// GNOME Shell names native Wayland windows to nobody outside itself: our Shell extension reports
// the focused window (its WM_CLASS parts, the app id Shell's window tracker gives it, its title and
// process) on the session bus, and this follows that report. The extension comes and goes with
// the user's switch in the Shell; while it is away only XWayland windows are seen, through X11.
class GnomeShellWindows final : public QObject
{
    Q_OBJECT
public:
    static constexpr auto kBusName = "app.tockwork.FocusedWindow";
    static constexpr auto kObjectPath = "/app/tockwork/FocusedWindow";
    static constexpr auto kInterface = "app.tockwork.FocusedWindow";

    struct Focused
    {
        QString wmClass;
        QString instance;
        QString appId; // the desktop entry's file name ("org.gnome.TextEditor.desktop")
        QString title;
        quint32 pid = 0;

        bool operator==(const Focused&) const = default;
    };

    // Follows the extension on `bus` where GNOME Shell (or the extension itself) is on it; none
    // on other desktops. `wayland` says whether the session's windows are Wayland's, where the
    // extension is the only way to see native ones.
    static std::unique_ptr<GnomeShellWindows> connectTo(QDBusConnection bus, bool wayland);
    static std::unique_ptr<GnomeShellWindows> connectToSession();
    ~GnomeShellWindows() override;

    // Whether the extension is on the bus: only then does front() speak for the desktop.
    bool extensionPresent() const;
    // The focused window as last reported; none when the Shell's own UI or the desktop has the
    // focus.
    std::optional<FrontWindow> front() const;
    // The extension's name when present, else what is missing on Wayland, else `otherwise`.
    FrontSource source(FrontSource otherwise) const;

    // The window named by a report, with the desktop entry its app id (or else its class,
    // instance or program) names; none for a report of no window.
    static std::optional<FrontWindow> frontWindow(const Focused& focused);

Q_SIGNALS:
    // The extension came or went, or reported another window or a new title.
    void changed();

private:
    GnomeShellWindows();

    struct Impl;
    std::unique_ptr<Impl> d;
};
