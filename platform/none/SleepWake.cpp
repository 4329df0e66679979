// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SleepWake.h"

// Without sleep announcements or a suspend-aware clock, no sleep is ever seen.
struct SleepWake::Impl
{};

SleepWake::SleepWake(QObject* parent) : QObject(parent)
{}
SleepWake::SleepWake(std::function<double()>, QObject* parent) : QObject(parent)
{}
SleepWake::~SleepWake() = default;

void SleepWake::checkForMissedSleep()
{}
