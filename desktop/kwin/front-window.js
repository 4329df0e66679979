// SPDX-License-Identifier: GPL-3.0-or-later
// TockWork's window watcher inside KWin (KDE Plasma). On Wayland, KWin tells no other program
// which window has the focus, so TockWork loads this script into KWin at start (through
// org.kde.KWin /Scripting) and unloads it at quit. It reports the active window's resource class,
// resource name, desktop file name, caption and process to TockWork over the session bus at every
// activation change and caption change; TockWork keeps them in memory only.
//
// One script for KWin 5 (workspace.clientActivated, activeClient) and KWin 6 (windowActivated,
// activeWindow). Written in plain ES5 so every KWin's JavaScript engine takes it.

var service = "org.tockwork.TockWork.FrontWindow";
var path = "/FrontWindow";
var iface = "org.tockwork.FrontWindow";

var isKWin6 = workspace.windowActivated !== undefined;
var watched = null;

function text(value) {
    return value === undefined || value === null ? "" : String(value);
}

function report() {
    if (!watched) {
        callDBus(service, path, iface, "NothingActivated");
        return;
    }
    callDBus(service, path, iface, "WindowActivated", text(watched.resourceClass),
             text(watched.resourceName), text(watched.desktopFileName), text(watched.caption),
             text(watched.pid));
}

function follow(window) {
    if (watched) {
        // The window may be gone already; its signal goes with it.
        try {
            watched.captionChanged.disconnect(report);
        } catch (e) {
        }
    }
    // The desktop and panels are no window the user works in.
    watched = window && !window.desktopWindow && !window.dock ? window : null;
    if (watched)
        watched.captionChanged.connect(report);
    report();
}

(isKWin6 ? workspace.windowActivated : workspace.clientActivated).connect(follow);
follow(isKWin6 ? workspace.activeWindow : workspace.activeClient);
