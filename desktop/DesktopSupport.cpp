// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/DesktopSupport.h"

#include "browser/BrowserSupport.h"
#include "desktop/GnomeShellExtension.h"

#include <cstdio>

namespace DesktopSupport {

int installAndTell(const QString& programDir)
{
    const int browsers = BrowserSupport::installAndTell(BrowserSupport::locate(programDir));
    const GnomeShellExtension::Result gnome =
        GnomeShellExtension::installForUser(GnomeShellExtension::locate(programDir));
    std::fputs("\n", stdout);
    std::fputs(GnomeShellExtension::instructions(gnome).toUtf8().constData(), stdout);
    using Outcome = GnomeShellExtension::Result::Outcome;
    if (gnome.outcome == Outcome::failed || gnome.outcome == Outcome::missingFiles)
        return 1;
    return browsers == 0 || gnome.outcome == Outcome::installed ? 0 : 1;
}

} // namespace DesktopSupport
