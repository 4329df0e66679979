// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

class BrowserTabs;
class DesktopProbes;
class FrontmostApp;
class IdleTime;
class Presence;
class SleepWake;
class WolluProbes;
class WolluTracker;

// Slacking measured on this desktop: the probes, the browser tabs our extension reports, the
// machine's sleep and wake, and the tracker they feed, wired together.
class DesktopWollu final : public QObject
{
    Q_OBJECT
public:
    explicit DesktopWollu(QObject* parent = nullptr);
    ~DesktopWollu() override;

    // One poll: a sleep found only now is accounted first, then the time since the last poll.
    void poll();
    WolluTracker& tracker() const;
    BrowserTabs& browserTabs() const;
    // What the settings window says about browsers: which report exact addresses through our
    // extension in this run, or that window titles stand in.
    QStringList browserAddressLines() const;
    // What it says about the facility that names the window in front (frontSourceLines).
    QStringList frontSourceLines() const;
    WolluProbes& probes() const;

private:
    std::unique_ptr<Presence> presence_;
    std::unique_ptr<IdleTime> idle_;
    std::unique_ptr<FrontmostApp> front_;
    std::unique_ptr<BrowserTabs> tabs_;
    std::unique_ptr<DesktopProbes> probes_;
    std::unique_ptr<WolluTracker> tracker_;
    std::unique_ptr<SleepWake> sleepWake_;
};
