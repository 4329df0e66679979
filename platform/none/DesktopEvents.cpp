// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopEvents.h"

struct DesktopEvents::Impl
{
    bool watching = false;
};

DesktopEvents::DesktopEvents(QObject* parent) : QObject(parent), d(std::make_unique<Impl>())
{}

DesktopEvents::~DesktopEvents() = default;

void DesktopEvents::watchPresses(bool watch)
{
    d->watching = watch;
}

bool DesktopEvents::watchingPresses() const
{
    return d->watching;
}

bool DesktopEvents::fullScreenActive(const QRect&) const
{
    return false;
}

quintptr DesktopEvents::activeWindow() const
{
    return 0;
}
