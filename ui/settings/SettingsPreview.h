// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "--settings": the real settings window over the user's own settings, which the process keeps
// read-only. Nothing is written until "저장"; then exactly what that save writes reaches the
// file, and the store is read-only again. With `openAdd` ("--settings add") the manual-entry
// dialog opens as well. Runs the event loop until the window closes; returns the exit status.
int runSettingsPreview(bool openAdd);
