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
// $XDG_RUNTIME_DIR/tockwork-browser.sock; without a runtime folder, a per-user name in /tmp.
QString socketPath();

} // namespace TabReports
