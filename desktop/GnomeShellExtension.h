// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Installing our GNOME Shell extension for the running user: the flavour that the installed
// gnome-shell loads, copied into the user's extensions folder. Enabling it is left to the user
// (`gnome-extensions enable`), since the Shell asks for that itself.
namespace GnomeShellExtension {

inline constexpr auto kUuid = "tockwork@tockwork.app";

// The major version in `gnome-shell --version` ("GNOME Shell 43.9" -> 43); 0 when unreadable.
int majorVersion(const QString& versionOutput);
// The installed gnome-shell's major version; 0 when there is none.
int installedMajorVersion();
// The flavour's folder name for a major version: "43" for 43 and 44, "45" for 45 and later;
// empty for older Shells, which we do not support.
QString flavourFor(int major);

// The folder that holds one subfolder per flavour, seen from the folder of the tray program:
// gnome-shell/ beside it in the build tree, share/tockwork/gnome-shell/ when installed; empty when
// neither has the extension.
QString locate(const QString& programDir);

struct Result
{
    enum class Outcome
    {
        installed,
        noShell,      // no gnome-shell on this computer: nothing to do
        unsupported,  // a Shell older than 43
        missingFiles, // our extension is not where the installation should have put it
        failed,       // the folder could not be created or a file not written
    };
    Outcome outcome = Outcome::noShell;
    int shellMajor = 0;
    QString folder; // where the extension went (or should have gone)
};

// Copies the flavour for `shellMajor` from `flavoursDir` into `dataHome`/gnome-shell/extensions.
Result install(const QString& flavoursDir, int shellMajor, const QString& dataHome);
// The same for the running user ($XDG_DATA_HOME, else ~/.local/share) and the installed Shell.
Result installForUser(const QString& flavoursDir);

// What to tell the user: where it went and how to switch it on.
QString instructions(const Result& result);

} // namespace GnomeShellExtension
