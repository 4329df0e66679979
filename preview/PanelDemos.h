// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Panels of fixed days in real windows, for screenshots; each runs the event loop until the user
// quits and returns the exit status.

// Working, overtime and done in one row on the primary screen.
int runTwoPanelsDemo();
// Working, lunch, overtime and done on the largest external screen; with none, an alert.
int runFourPanelsDemo();
