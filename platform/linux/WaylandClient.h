// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Connections of our own to the session's Wayland compositor, beside Qt's (which may not even be
// a Wayland one): opening one, and reading what arrived on it without blocking.

#include <QtGlobal>

#include <wayland-client.h>

namespace WaylandClient {

// A connection to the session's compositor, or null. WAYLAND_SOCKET hands over a connection meant
// for Qt alone; without WAYLAND_DISPLAY the session is no Wayland session, whatever socket might
// lie in the runtime folder.
inline wl_display* connectToSession()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        qEnvironmentVariableIsSet("WAYLAND_SOCKET"))
        return nullptr;
    return wl_display_connect(nullptr);
}

// Reads and dispatches what the compositor sent, once its socket is readable; false once the
// connection is broken (the compositor quit).
inline bool readEvents(wl_display* display)
{
    // Events already read (during a roundtrip) are queued and dispatched first.
    if (wl_display_prepare_read(display) != 0)
        return wl_display_dispatch_pending(display) >= 0;
    if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0)
        return false;
    wl_display_flush(display);
    return true;
}

} // namespace WaylandClient
