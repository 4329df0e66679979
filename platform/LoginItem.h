// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Starting TockWork when the user logs in.
namespace LoginItem {

enum class Status
{
    notRegistered,
    enabled,
    // The user switched the start at login off in their desktop's settings: a choice to keep,
    // counted as registered.
    disabledByUser,
};

// Reads the current state; touches no file.
Status status();
// Makes this program start at login. False with a reason in `error` when it cannot.
bool registerItem(QString* error = nullptr);

} // namespace LoginItem
