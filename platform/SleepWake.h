// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>
#include <memory>

// The machine going to sleep and waking up. Where the system announces sleep, willSleep() reaches
// its handlers before the machine sleeps (connect directly: sleep waits for the handlers to
// return). Elsewhere a sleep is found afterwards by checkForMissedSleep().
class SleepWake final : public QObject
{
    Q_OBJECT
public:
    explicit SleepWake(QObject* parent = nullptr);
    // `suspendedSeconds` gives the seconds the machine has spent suspended since it booted (tests).
    SleepWake(std::function<double()> suspendedSeconds, QObject* parent);
    ~SleepWake() override;

    // Call from a regular poll. Where no sleep announcement arrives, a gap of 30 s or more spent
    // suspended since the previous call is reported as a sleep that just ended (didWake).
    void checkForMissedSleep();

Q_SIGNALS:
    void willSleep();
    // `sleptSeconds` is the time spent suspended, 0 when the start of the sleep went unseen.
    void didWake(double sleptSeconds);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
