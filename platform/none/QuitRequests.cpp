// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QuitRequests.h"

// Without POSIX signals nothing outside the application asks it to quit this way.
QuitRequests::QuitRequests(QObject* parent) : QObject(parent)
{}

QuitRequests::~QuitRequests() = default;
