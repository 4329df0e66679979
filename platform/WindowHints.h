#pragma once

class QWidget;

// Window-manager requests the toolkit's windows make where the windowing system supports them;
// elsewhere they do nothing. One implementation is compiled per platform.
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

} // namespace WindowHints
