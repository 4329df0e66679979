// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracker/DesktopWollu.h"

#include "analytics/Analytics.h"
#include "analytics/Events.h"
#include "platform/FrontmostApp.h"
#include "platform/IdleTime.h"
#include "platform/Presence.h"
#include "platform/SleepWake.h"
#include "tracker/BrowserTabs.h"
#include "tracker/DesktopProbes.h"
#include "tracker/FrontSourceLines.h"
#include "tracker/WolluTracker.h"

DesktopWollu::DesktopWollu(QObject* parent)
    : QObject(parent), presence_(std::make_unique<Presence>()), idle_(std::make_unique<IdleTime>()),
      front_(std::make_unique<FrontmostApp>()), tabs_(std::make_unique<BrowserTabs>())
{
    probes_ = std::make_unique<DesktopProbes>(*presence_, *idle_, *front_, *tabs_);
    tracker_ = std::make_unique<WolluTracker>(*probes_);
    tabs_->listen();
    // Installing our extension is the user's consent to read the tab: reported once per browser.
    connect(tabs_.get(), &BrowserTabs::browserConnected, this, [](const QString& browser) {
        Analytics::track(QString::fromLatin1(Analytics::Event::automationPermissionResult),
                         {{QStringLiteral("granted"), true}, {QStringLiteral("browser"), browser}});
    });
    sleepWake_ = std::make_unique<SleepWake>();
    // Directly: the sleep waits for this handler before it begins.
    connect(sleepWake_.get(), &SleepWake::willSleep, tracker_.get(), &WolluTracker::willSleep,
            Qt::DirectConnection);
    connect(sleepWake_.get(), &SleepWake::didWake, tracker_.get(), &WolluTracker::didWake);
}

DesktopWollu::~DesktopWollu() = default;

void DesktopWollu::poll()
{
    sleepWake_->checkForMissedSleep();
    tracker_->pollWollu();
}

WolluTracker& DesktopWollu::tracker() const
{
    return *tracker_;
}

BrowserTabs& DesktopWollu::browserTabs() const
{
    return *tabs_;
}

QStringList DesktopWollu::browserAddressLines() const
{
    return ::browserAddressLines(tabs_->connectedBrowsers());
}

QStringList DesktopWollu::frontSourceLines() const
{
    return ::frontSourceLines(front_->source());
}

WolluProbes& DesktopWollu::probes() const
{
    return *probes_;
}
