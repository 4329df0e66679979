// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QRect>

#include <memory>

// What happens on the desktop around TockWork's windows: mouse presses anywhere (to close the
// drop-down panel when the user clicks elsewhere) and changes of the active window, the current
// desktop or the active window's full-screen state. Reported as they happen, never polled. Where
// the windowing system tells none of this, nothing is reported and nothing is full screen.
class DesktopEvents final : public QObject
{
    Q_OBJECT
public:
    explicit DesktopEvents(QObject* parent = nullptr);
    ~DesktopEvents() override;

    // Presses are reported only while watched (the panel is open): each one wakes the process.
    void watchPresses(bool watch);
    bool watchingPresses() const;

    // Whether the active window is full screen on the screen whose geometry (Qt's coordinates)
    // is `screen`; an empty rectangle asks about any screen.
    bool fullScreenActive(const QRect& screen = QRect()) const;
    // The desktop's active window as the window manager names it (a native window id, as
    // QWidget::winId() gives), 0 where it does not say.
    quintptr activeWindow() const;

Q_SIGNALS:
    // A mouse button went down somewhere on the desktop, on any window, TockWork's own included.
    void pressed();
    // The active window, the current desktop or the active window's state changed.
    void spaceChanged();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
