#pragma once

#include <QObject>

#include <memory>

// How long the user has left keyboard and mouse alone, and whether an application (a video call,
// a presentation, a film) has asked the desktop not to treat the quiet as absence.
class IdleTime final : public QObject
{
    Q_OBJECT
public:
    explicit IdleTime(QObject* parent = nullptr);
    ~IdleTime() override;

    // Seconds since the last keyboard or mouse input; 0 when the system cannot tell. Never waits
    // for a desktop service: where the answer comes over D-Bus it is the latest one received,
    // advanced by the time since, and a fresh one is asked for.
    double seconds();
    // Whether some application holds an inhibitor against idleness right now (as last reported).
    bool idleInhibited();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
