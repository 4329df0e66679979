// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What the native-messaging host hands the running application: one line of JSON per change of
// a browser's active tab, over a socket only this user can open. The address never goes further.
struct TabReport
{
    QString browser; // a KnownBrowsers name, or the program's file name when unknown
    qint64 pid = 0;  // the browser process that started the host
    QString url;

    bool operator==(const TabReport&) const = default;
};

namespace TabReports {

// Longer lines are refused: an address is cut to 8 KiB by the extension already.
inline constexpr qsizetype kMaxLineBytes = 16 * 1024;

QByteArray encode(const TabReport& report); // ends in '\n'
std::optional<TabReport> decode(const QByteArray& line);
// $XDG_RUNTIME_DIR/tockwork-browser.sock. Without a runtime folder, browser.sock in a folder of
// our own in the temporary folder (tockwork-<uid>, made with mode 0700): a name in /tmp itself
// could be taken first by another local user. Empty when that folder belongs to someone else or
// is open to others, so that nothing is served or sent there.
QString socketPath();

// Whether the process at the other end of a connected local socket runs as this user
// (SO_PEERCRED): addresses go to and come from nobody else.
bool peerIsThisUser(qintptr socketDescriptor);

} // namespace TabReports
