// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>
#include <optional>

// How long the user has left keyboard and mouse alone, and whether an application (a video call,
// a presentation, a film) has asked the desktop not to treat the quiet as absence.
class IdleTime final : public QObject
{
    Q_OBJECT
public:
    explicit IdleTime(QObject* parent = nullptr);
    ~IdleTime() override;

    // Seconds since the last keyboard or mouse input; none when the system cannot tell (a
    // compositor with no idle notifications whose desktop service refuses the question, XWayland
    // without the X extension): an unknown figure is not "the user just typed". Never waits for a
    // desktop service: where the answer comes over D-Bus it is the latest one received, advanced
    // by the time since, and a fresh one is asked for. Where the compositor only announces "idle"
    // after a few quiet seconds, it is 0 until then and counts from the last input after.
    std::optional<double> seconds();
    // Whether some application holds an inhibitor against idleness right now (as last reported by
    // logind). A Wayland compositor's own inhibitors are not seen here: they hold back its idle
    // notifications, so seconds() stays low instead.
    bool idleInhibited();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
