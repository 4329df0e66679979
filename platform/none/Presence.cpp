// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Presence.h"

// Without a way to ask, the user is never away from the screen.
struct Presence::Impl
{};

Presence::Presence(QObject* parent) : QObject(parent)
{}
Presence::~Presence() = default;

bool Presence::screenSaverOn() const
{
    return false;
}

bool Presence::screenLocked() const
{
    return false;
}

bool Presence::displayAsleep()
{
    return false;
}

bool Presence::awayByScreen()
{
    return false;
}

void Presence::clearScreenSaver()
{}
