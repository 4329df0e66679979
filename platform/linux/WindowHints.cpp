#include "platform/WindowHints.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

// EWMH: a window that is not mapped yet carries its wishes as properties; once mapped, the
// window manager only listens to client messages sent to the root window. Both are sent, so the
// order of show() and these calls does not matter.
namespace {

xcb_connection_t* connection()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t result = reply->atom;
    std::free(reply);
    return result;
}

xcb_window_t rootOf(xcb_connection_t* c)
{
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

void sendToRoot(xcb_connection_t* c, xcb_window_t window, xcb_atom_t type, uint32_t d0, uint32_t d1,
                uint32_t d2, uint32_t d3)
{
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    event.data.data32[0] = d0;
    event.data.data32[1] = d1;
    event.data.data32[2] = d2;
    event.data.data32[3] = d3;
    xcb_send_event(c, 0, rootOf(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

} // namespace

namespace WindowHints {

void showOnAllDesktops(QWidget* window)
{
    xcb_connection_t* c = connection();
    if (!c || !window)
        return;
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t desktop = atom(c, "_NET_WM_DESKTOP");
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t sticky = atom(c, "_NET_WM_STATE_STICKY");
    const uint32_t allDesktops = 0xFFFFFFFF;
    constexpr uint32_t addState = 1, fromApplication = 1;
    if (desktop != XCB_ATOM_NONE) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, desktop, XCB_ATOM_CARDINAL, 32, 1,
                            &allDesktops);
        sendToRoot(c, id, desktop, allDesktops, fromApplication, 0, 0);
    }
    if (state != XCB_ATOM_NONE && sticky != XCB_ATOM_NONE)
        sendToRoot(c, id, state, addState, sticky, 0, fromApplication);
    xcb_flush(c);
}

void keepOffTaskbar(QWidget* window)
{
    xcb_connection_t* c = connection();
    if (!c || !window)
        return;
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t taskbar = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_atom_t pager = atom(c, "_NET_WM_STATE_SKIP_PAGER");
    constexpr uint32_t addState = 1, fromApplication = 1;
    if (state != XCB_ATOM_NONE && taskbar != XCB_ATOM_NONE && pager != XCB_ATOM_NONE)
        sendToRoot(c, xcb_window_t(window->winId()), state, addState, taskbar, pager,
                   fromApplication);
    xcb_flush(c);
}

void requestBlurBehind(QWidget* window)
{
    xcb_connection_t* c = connection();
    if (!c || !window)
        return;
    // An empty region asks KWin to blur behind the whole window; other window managers ignore it.
    const xcb_atom_t blur = atom(c, "_KDE_NET_WM_BLUR_BEHIND_REGION");
    if (blur == XCB_ATOM_NONE)
        return;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), blur,
                        XCB_ATOM_CARDINAL, 32, 0, nullptr);
    xcb_flush(c);
}

bool compositing()
{
    xcb_connection_t* c = connection();
    if (!c)
        return true; // Wayland and the offscreen platform always compose
    // A compositing manager owns the selection _NET_WM_CM_S<screen>.
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(0);
    const xcb_atom_t selection = atom(c, name.constData());
    if (selection == XCB_ATOM_NONE)
        return false;
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    if (!reply)
        return false;
    const bool owned = reply->owner != XCB_WINDOW_NONE;
    std::free(reply);
    return owned;
}

} // namespace WindowHints
