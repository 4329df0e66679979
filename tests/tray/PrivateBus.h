// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether the test binary's own session bus runs (dbus-daemon may be missing).
bool privateBusRunning();

#define SKIP_WITHOUT_BUS()                                                                         \
    if (!privateBusRunning())                                                                      \
    GTEST_SKIP() << "dbus-daemon is not installed"
