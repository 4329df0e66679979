// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Registering the native-messaging host with the browsers of this user, so that our extension
// may start it.
namespace BrowserSupport {

inline constexpr auto kHostName = "app.tockwork.browser";
// Fixed by the "key" in the extension's manifest.
inline constexpr auto kChromiumExtensionId = "jbnhieajialjmfjoemmmeakgadcjcdih";
inline constexpr auto kFirefoxExtensionId = "browser@tockwork.app";

QByteArray chromiumManifest(const QString& hostPath);
QByteArray firefoxManifest(const QString& hostPath);

struct Written
{
    QString browser;
    QString manifestPath;
};
struct Result
{
    QList<Written> written;
    QList<Written> failed; // the folder could not be created or the file not written
};

// Writes the host manifest into the per-user folder of every browser found: one whose settings
// folder exists under `configHome` (or `home`/.mozilla for Firefox), or whose program is on PATH.
Result install(const QString& hostPath, const QString& home, const QString& configHome);
// The same for the running user's folders ($HOME, $XDG_CONFIG_HOME).
Result installForUser(const QString& hostPath);

// Where the host program and the extension are, seen from the folder of the tray program or of
// the host itself: side by side in the build tree; bin/, libexec/tockwork/ and
// share/tockwork/browser-extension/ when installed.
struct Layout
{
    QString hostPath;
    QString extensionDir;
};
Layout locate(const QString& programDir);

// Registers the host for every browser found and prints where, and how to load the extension.
// 0 when at least one browser was set up.
int installAndTell(const Layout& layout);

// What to tell the user: the folders written and how each browser loads the extension in
// `extensionDir`.
QString instructions(const Result& result, const QString& hostPath, const QString& extensionDir);

} // namespace BrowserSupport
