// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

// The desktop's XEmbed system tray: on X11 the owner of the screen's _NET_SYSTEM_TRAY_S<n>
// selection. It is followed from the X server's own announcements (the MANAGER client message on
// the root window when a tray takes the selection, the tray window's destruction when it goes),
// never by asking again and again.
namespace TrayHosts {

class XEmbedTray
{
public:
    virtual ~XEmbedTray() = default;
    // Whether a tray owns the selection now.
    virtual bool present() const = 0;
};

// Starts following the tray; `changed` runs on the GUI thread with the new presence whenever a
// tray appears, goes away or is replaced by another (a restarted panel). Where the platform has no
// XEmbed trays (no X11 connection) the answer is always "none" and `changed` never runs.
std::unique_ptr<XEmbedTray> watchXEmbedTray(std::function<void(bool present)> changed);

} // namespace TrayHosts
