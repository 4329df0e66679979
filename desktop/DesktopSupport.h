// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What `tockwork --install-desktop-support` sets up for the running user: the browsers' host
// registration (as --install-browser-support) and, where GNOME Shell is installed, our Shell
// extension, which alone can name a native Wayland window in front there.
namespace DesktopSupport {

// Installs both from the layout around `programDir` (the tray program's folder) and prints, in
// Korean, what was written and what the user still has to switch on. 0 when all that applies here
// was written and at least something was.
int installAndTell(const QString& programDir);

} // namespace DesktopSupport
