// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FrontmostApp.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// The window in front on KDE Plasma, as our script inside KWin reports it. KWin on Wayland tells
// no other program which window has the focus, but runs scripts: ours (desktop/kwin/
// front-window.js) is loaded through org.kde.KWin /Scripting at start, calls back on the session
// bus at each activation and caption change, and is unloaded again when this object goes.
class KWinScript final : public QObject
{
    Q_OBJECT
public:
    // What the script reports of the active window.
    struct Window
    {
        QString resourceClass;   // a native window's app id, an XWayland window's WM_CLASS class
        QString resourceName;    // an XWayland window's WM_CLASS instance
        QString desktopFileName; // the desktop entry KWin found for it, without ".desktop"
        QString caption;
        qint64 pid = 0;

        bool operator==(const Window&) const = default;
    };

    // The bus name and object the script reports to.
    static const QString kService;
    static const QString kPath;
    // The name the script is loaded under in KWin.
    static const QString kPluginName;

    // Loads the script into the session's KWin on a Wayland session whose bus offers org.kde.KWin;
    // none elsewhere (X11 names every window itself), without the script file, or when another
    // TockWork already receives the reports. The loading goes on in the background.
    static std::unique_ptr<KWinScript> loadIntoSession(const QString& scriptFile = shippedScript());
    ~KWinScript() override;

    // The script shipped with the application: share/tockwork/kwin/ beside the executable in a
    // build tree (or two folders up, for the tests' programs), or beside its bin/ folder when
    // installed; empty when missing.
    static QString shippedScript();

    // Whether the script runs and has reported since KWin last (re)started.
    bool reporting() const;
    // The active window as last reported; none when the desktop or nothing is active.
    std::optional<Window> active() const;

    // The window in front: the X11 source's window when the active one is that XWayland window
    // (X11 knows its instance), else the window named by its resource class and desktop entry.
    static std::optional<FrontWindow> frontWindow(const std::optional<Window>& active,
                                                  const std::optional<FrontWindow>& x11);

Q_SIGNALS:
    // The script reported another window, or the active window's caption changed, or KWin went.
    void changed();

private:
    explicit KWinScript(const QString& scriptFile);

    struct Impl;
    std::unique_ptr<Impl> d;
};
