// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The X11 chores every desktop facility here shares: Qt's own connection, atoms, replies that free
// themselves and property reads. Only this folder's implementations include it, so xcb stays out
// of the interfaces.

#include <QByteArray>
#include <QByteArrayView>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace Xcb {

// xcb hands out replies allocated with malloc, for the caller to free.
struct FreeDeleter
{
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

template <typename T> Reply<T> reply(T* raw)
{
    return Reply<T>(raw);
}

// The connection Qt draws through; null where Qt does not draw through X11 (its Wayland plugin,
// a console application).
inline xcb_connection_t* qtConnection()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The atom of `name`, XCB_ATOM_NONE on failure. With `onlyIfExists`, a name no client has used
// yet is not created (so nothing can carry it either).
inline xcb_atom_t atom(xcb_connection_t* c, QByteArrayView name, bool onlyIfExists = false)
{
    const auto r = reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, onlyIfExists ? 1 : 0, uint16_t(name.size()), name.data()), nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The root window of screen `screen` of the connection's display.
inline xcb_window_t rootOf(xcb_connection_t* c, int screen = 0)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; it.rem && i < screen; ++i)
        xcb_screen_next(&it);
    return it.rem ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

// Up to `maxWords` 32-bit words of a window's property; null for an unknown atom or a window
// that vanished in the meantime (its error is dropped).
inline Reply<xcb_get_property_reply_t> property(xcb_connection_t* c, xcb_window_t window,
                                                xcb_atom_t name, xcb_atom_t type, uint32_t maxWords)
{
    if (name == XCB_ATOM_NONE)
        return nullptr;
    return reply(xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, maxWords),
                                        nullptr));
}

// An 8-bit property's bytes (a name, a class); empty for any other format.
inline QByteArray bytesOf(const xcb_get_property_reply_t* r)
{
    if (!r || r->format != 8)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(r)),
                      xcb_get_property_value_length(r));
}

// The first 32-bit word of a property (a window, a number), `fallback` where there is none.
inline uint32_t firstWordOf(const xcb_get_property_reply_t* r, uint32_t fallback = 0)
{
    if (!r || r->format != 32 || xcb_get_property_value_length(r) < 4)
        return fallback;
    return *static_cast<const uint32_t*>(xcb_get_property_value(r));
}

} // namespace Xcb
