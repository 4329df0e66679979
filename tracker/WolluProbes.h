// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FrontmostApp.h"

#include <QString>

#include <functional>
#include <optional>

// What the slacking poll asks of the desktop. The application answers from the platform's
// facilities (DesktopProbes); tests script the answers.
class WolluProbes
{
public:
    virtual ~WolluProbes() = default;

    virtual bool screenSaverOn() = 0;
    // Input arrived, so a screensaver whose end went unannounced is over.
    virtual void clearScreenSaver() = 0;
    // The screensaver, a locked session or a sleeping display.
    virtual bool awayByScreen() = 0;
    // Seconds since the last keyboard or mouse input; none when the desktop cannot tell.
    virtual std::optional<double> idleSeconds() = 0;
    // Another application (a video call, a presentation, a film) asked that quiet input not be
    // taken for absence.
    virtual bool idleInhibited() = 0;
    // None when the desktop itself is in front or nobody can tell.
    virtual std::optional<FrontWindow> frontWindow() = 0;
    // The address of the active tab of `browser` (the window in front), none when its extension
    // never reported one. `done` runs exactly once, on the main thread, after this returns.
    virtual void activeTabURLAsync(const QString& browser, const FrontWindow& window,
                                   std::function<void(std::optional<QString>)> done) = 0;
};
