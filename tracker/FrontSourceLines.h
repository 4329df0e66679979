// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FrontmostApp.h"

#include <QStringList>

// What the settings window says, under its line on listed apps, about who names the window in
// front: the user sees why a native app on their desktop counts, or does not, and on GNOME without
// our Shell extension how to get it.
QStringList frontSourceLines(FrontSource source);
