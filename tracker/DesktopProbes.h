// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tracker/WolluProbes.h"

#include <QObject>

class BrowserTabs;
class FrontmostApp;
class IdleTime;
class Presence;

// The poll's questions answered by this desktop: the platform's presence, idle-time and
// frontmost-window probes, and the addresses our browser extension reported.
class DesktopProbes final : public QObject, public WolluProbes
{
    Q_OBJECT
public:
    DesktopProbes(Presence& presence, IdleTime& idle, FrontmostApp& front, BrowserTabs& tabs,
                  QObject* parent = nullptr);

    bool screenSaverOn() override;
    void clearScreenSaver() override;
    bool awayByScreen() override;
    std::optional<double> idleSeconds() override;
    bool idleInhibited() override;
    std::optional<FrontWindow> frontWindow() override;
    void activeTabURLAsync(const QString& browser, const FrontWindow& window,
                           std::function<void(std::optional<QString>)> done) override;

private:
    Presence& presence_;
    IdleTime& idle_;
    FrontmostApp& front_;
    BrowserTabs& tabs_;
};
