// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

// Whether the user is kept from the screen by the system itself: a running screensaver, a locked
// session or a display that went to sleep. Each answer is the last one known; a desktop service
// that stops answering leaves it as it was.
class Presence final : public QObject
{
    Q_OBJECT
public:
    explicit Presence(QObject* parent = nullptr);
    ~Presence() override;

    bool screenSaverOn() const;
    bool screenLocked() const;
    // Asks the display server (a quick local request); a server without power management is awake.
    bool displayAsleep();
    // The screensaver, else the lock, else display sleep.
    bool awayByScreen();

    // Input arrived, so no screensaver runs: drops an "on" whose "off" never came.
    void clearScreenSaver();

Q_SIGNALS:
    void screenSaverChanged(bool on);
    void screenLockedChanged(bool locked);
    void displayAsleepChanged(bool asleep);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
