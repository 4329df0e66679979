// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IdleTime.h"

// Without a way to ask, the idle time is unknown: the user never counts as idle, and nothing
// counts as fresh input either.
struct IdleTime::Impl
{};

IdleTime::IdleTime(QObject* parent) : QObject(parent)
{}
IdleTime::~IdleTime() = default;

std::optional<double> IdleTime::seconds()
{
    return std::nullopt;
}

bool IdleTime::idleInhibited()
{
    return false;
}
