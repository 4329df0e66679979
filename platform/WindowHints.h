// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

class QWidget;

// Window-manager requests the toolkit's windows make where the windowing system supports them,
// and what the window manager tells about where windows may go; elsewhere they do nothing and
// tell nothing. One implementation is compiled per platform.
namespace WindowHints {

// Keep the top-level `window` on every virtual desktop.
void showOnAllDesktops(QWidget* window);
// Keep the top-level `window` out of the taskbar and the pager (a panel that drops from the tray).
void keepOffTaskbar(QWidget* window);
// Ask the compositor to blur what lies behind `window` (KWin on X11).
void requestBlurBehind(QWidget* window);
// Whether translucent windows are composited over the desktop. Without a compositor their clear
// parts show black, so rounded windows must be cut to shape instead.
bool compositing();

// Whether the X11 window manager ignores where a top-level window asks to be: wlroots' XWayland
// window manager (sway) centres every floating window whenever it maps, moves or resizes itself.
bool windowManagerIgnoresPositions();
// Where the window manager ignores positions, asks the compositor itself to put the shown
// top-level `window` at `topLeft` (Qt's coordinates; sway's IPC), again for a moment while the
// window is not mapped yet. Elsewhere nothing: there the window's own move() is obeyed.
void askCompositorToPlace(QWidget* window, QPoint topLeft);

// The parts of the screens that windows may cover, as the compositor reports them where Qt's own
// work area cannot know them (sway's XWayland publishes no _NET_WORKAREA; Qt's Wayland plugin has
// none): sway's visible workspaces, which leave out its bars. In Qt's coordinates; empty elsewhere.
QList<QRect> compositorWorkAreas();

} // namespace WindowHints
