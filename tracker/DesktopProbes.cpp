// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracker/DesktopProbes.h"

#include "platform/FrontmostApp.h"
#include "platform/IdleTime.h"
#include "platform/Presence.h"
#include "tracker/BrowserTabs.h"

#include <QMetaObject>

DesktopProbes::DesktopProbes(Presence& presence, IdleTime& idle, FrontmostApp& front,
                             BrowserTabs& tabs, QObject* parent)
    : QObject(parent), presence_(presence), idle_(idle), front_(front), tabs_(tabs)
{}

bool DesktopProbes::screenSaverOn()
{
    return presence_.screenSaverOn();
}

void DesktopProbes::clearScreenSaver()
{
    presence_.clearScreenSaver();
}

bool DesktopProbes::awayByScreen()
{
    return presence_.awayByScreen();
}

std::optional<double> DesktopProbes::idleSeconds()
{
    return idle_.seconds();
}

bool DesktopProbes::idleInhibited()
{
    return idle_.idleInhibited();
}

std::optional<FrontWindow> DesktopProbes::frontWindow()
{
    return front_.current();
}

void DesktopProbes::activeTabURLAsync(const QString& browser, const FrontWindow& window,
                                      std::function<void(std::optional<QString>)> done)
{
    // Answered from memory, but still later and on the main thread, as a caller of an
    // asynchronous read expects.
    QMetaObject::invokeMethod(
        this, [done = std::move(done), url = tabs_.latest(browser, window.pid)] { done(url); },
        Qt::QueuedConnection);
}
