// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

// How long the seat has been without input, as the compositor announces it on a Wayland connection
// of our own: ext_idle_notifier_v1 where offered, else KDE's org_kde_kwin_idle (KWin, and the only
// one sway 1.7 has). Neither can be asked for a figure: each sends "idle" once the seat has been
// quiet for the timeout given at the start and "resumed" at the next input. So the figure is "idle
// since": the notification came `notifyAfter` after the last input, and after a resume it is 0
// until the next notification. The timeout is short, well below any idle threshold, so that the
// figure is also right for "input came just now" (a screensaver being left).
//
// An idle inhibitor (a video call or a film holding zwp_idle_inhibit_v1, sway's inhibit_idle) keeps
// the compositor from sending the notification at all: the figure then stays low, which is what
// the meeting rule asks of it, without a question about inhibitors.
class WaylandIdle final : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kNotifyAfter{2000};

    // Connects to the session's compositor (WAYLAND_DISPLAY); none without a Wayland display, a
    // seat or either protocol.
    static std::unique_ptr<WaylandIdle>
    connectToSession(std::chrono::milliseconds notifyAfter = kNotifyAfter);
    ~WaylandIdle() override;

    // Seconds since the last input as far as the notifications tell; none once the compositor
    // went away or withdrew the protocol.
    std::optional<double> seconds() const;
    // The protocol in use: "ext_idle_notifier_v1" or "org_kde_kwin_idle".
    QString protocol() const;

Q_SIGNALS:
    // The seat went idle (no input for the timeout) or input came again.
    void idleChanged(bool idle);

private:
    WaylandIdle();

    struct Impl;
    std::unique_ptr<Impl> d;
};
