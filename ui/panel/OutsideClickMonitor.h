// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

class DesktopEvents;
class QWidget;

// Tells when the user clicks outside TockWork while the unpinned panel is open: a mouse press
// anywhere but on one of the application's own windows (the panel, its menu, the settings
// window, a dialog), or the application losing the keyboard to another one after the user had
// clicked into the panel. The window manager taking the keyboard to move or resize one of our
// windows is neither: the desktop's active window stays ours while it does.
// On Wayland desktops X11 sees no press over a native window, so the keyboard is the only sign:
// sway hands the shown panel the keyboard, and a click into any other window takes it away.
class OutsideClickMonitor final : public QObject
{
    Q_OBJECT
public:
    // `desktop` reports the presses; it stays the caller's.
    explicit OutsideClickMonitor(DesktopEvents* desktop, QObject* parent = nullptr);

    void install();
    void remove();
    bool installed() const { return installed_; }

    // Whether a press at `globalPos` (Qt's screen coordinates) landed outside every visible
    // window and open menu of this application.
    static bool isOutside(const QPoint& globalPos);
    // Whether `window` (a native id) is one of this application's top-level windows.
    static bool isOwnWindow(quintptr window);

Q_SIGNALS:
    void outsideClick();

private:
    void pressed();
    void deactivated();

    QPointer<DesktopEvents> desktop_;
    bool installed_ = false;
    // The application went inactive while the desktop's active window was still ours (a move or
    // resize by the window manager): the next change of the active window decides.
    bool deactivationPending_ = false;
};
