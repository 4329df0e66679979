// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopEvents.h"

#include "platform/linux/Xcb.h"

#include <QAbstractNativeEventFilter>
#include <QPoint>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <optional>

// X11: presses come as XInput2 raw button events selected on the root window, which reach us
// whichever window the button went down on, under a stacking window manager and a compositor
// alike, without grabbing anything. The space changes come as PropertyNotify events: on the root
// window for _NET_ACTIVE_WINDOW and _NET_CURRENT_DESKTOP, on the active window for _NET_WM_STATE.
namespace {

using Xcb::atom;
using Xcb::reply;
using Xcb::rootOf;

// Adds PropertyChange to what this client already listens to on `window` (Qt's own mask on the
// root window and on our windows stays as it was).
void listenToProperties(xcb_connection_t* c, xcb_window_t window)
{
    const auto attributes =
        reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    if (!attributes)
        return;
    const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
    if (mask != attributes->your_event_mask)
        xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
}

} // namespace

struct DesktopEvents::Impl final : QAbstractNativeEventFilter
{
    DesktopEvents* owner = nullptr;
    xcb_connection_t* c = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    uint8_t xinputOpcode = 0;
    bool xinput = false;
    bool watching = false;
    xcb_atom_t activeWindowAtom = XCB_ATOM_NONE;
    xcb_atom_t currentDesktopAtom = XCB_ATOM_NONE;
    xcb_atom_t wmStateAtom = XCB_ATOM_NONE;
    xcb_atom_t fullScreenAtom = XCB_ATOM_NONE;
    xcb_window_t active = XCB_WINDOW_NONE;

    void start()
    {
        c = Xcb::qtConnection();
        if (!c || xcb_connection_has_error(c))
            return;
        root = rootOf(c);
        activeWindowAtom = atom(c, "_NET_ACTIVE_WINDOW");
        currentDesktopAtom = atom(c, "_NET_CURRENT_DESKTOP");
        wmStateAtom = atom(c, "_NET_WM_STATE");
        fullScreenAtom = atom(c, "_NET_WM_STATE_FULLSCREEN");
        const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_input_id);
        if (ext && ext->present) {
            const auto version = reply(
                xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr));
            xinput = version && version->major_version >= 2;
            xinputOpcode = ext->major_opcode;
        }
        listenToProperties(c, root);
        followActiveWindow();
        xcb_flush(c);
        qApp->installNativeEventFilter(this);
    }

    void selectRawPresses(bool on)
    {
        if (!c || !xinput)
            return;
        struct
        {
            xcb_input_event_mask_t head;
            uint32_t mask;
        } mask{};
        mask.head.deviceid = XCB_INPUT_DEVICE_ALL_MASTER;
        mask.head.mask_len = 1;
        mask.mask = on ? XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS : 0;
        xcb_input_xi_select_events(c, root, 1, &mask.head);
        xcb_flush(c);
    }

    xcb_window_t activeWindow() const
    {
        const auto r = Xcb::property(c, root, activeWindowAtom, XCB_ATOM_WINDOW, 1);
        if (!r || r->type != XCB_ATOM_WINDOW)
            return XCB_WINDOW_NONE;
        return Xcb::firstWordOf(r.get(), XCB_WINDOW_NONE);
    }

    void followActiveWindow()
    {
        const xcb_window_t now = activeWindow();
        if (now == active)
            return;
        active = now;
        if (active != XCB_WINDOW_NONE)
            listenToProperties(c, active);
    }

    bool isFullScreen(xcb_window_t window) const
    {
        const auto r = Xcb::property(c, window, wmStateAtom, XCB_ATOM_ATOM, 64);
        if (!r || r->type != XCB_ATOM_ATOM)
            return false;
        const int count = xcb_get_property_value_length(r.get()) / 4;
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(r.get()));
        for (int i = 0; i < count; ++i)
            if (atoms[i] == fullScreenAtom)
                return true;
        return false;
    }

    // The window's centre on the root window, in X pixels.
    std::optional<QPoint> centreOf(xcb_window_t window) const
    {
        const auto geometry =
            reply(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
        if (!geometry)
            return std::nullopt;
        const auto translated = reply(xcb_translate_coordinates_reply(
            c,
            xcb_translate_coordinates(c, window, root, int16_t(geometry->width / 2),
                                      int16_t(geometry->height / 2)),
            nullptr));
        if (!translated)
            return std::nullopt;
        return QPoint(translated->dst_x, translated->dst_y);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const uint8_t kind = event->response_type & 0x7f;
        if (kind == XCB_GE_GENERIC && xinput && watching) {
            const auto* ge = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
            if (ge->extension == xinputOpcode && ge->event_type == XCB_INPUT_RAW_BUTTON_PRESS) {
                const auto* raw =
                    reinterpret_cast<const xcb_input_raw_button_press_event_t*>(event);
                // Buttons 4 to 7 are the wheel: scrolling is no click.
                if (raw->detail < 4 || raw->detail > 7)
                    QMetaObject::invokeMethod(owner, &DesktopEvents::pressed, Qt::QueuedConnection);
            }
        } else if (kind == XCB_PROPERTY_NOTIFY) {
            const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
            const bool onRoot = property->window == root && (property->atom == activeWindowAtom ||
                                                             property->atom == currentDesktopAtom);
            const bool onActive = property->window == active && property->atom == wmStateAtom;
            if (onRoot || onActive) {
                if (onRoot)
                    followActiveWindow();
                QMetaObject::invokeMethod(owner, &DesktopEvents::spaceChanged,
                                          Qt::QueuedConnection);
            }
        }
        return false;
    }
};

DesktopEvents::DesktopEvents(QObject* parent) : QObject(parent), d(std::make_unique<Impl>())
{
    d->owner = this;
    d->start();
}

DesktopEvents::~DesktopEvents()
{
    if (d->c) {
        qApp->removeNativeEventFilter(d.get());
        if (d->watching)
            d->selectRawPresses(false);
    }
}

void DesktopEvents::watchPresses(bool watch)
{
    if (d->watching == watch)
        return;
    d->watching = watch;
    d->selectRawPresses(watch);
}

bool DesktopEvents::watchingPresses() const
{
    return d->watching;
}

quintptr DesktopEvents::activeWindow() const
{
    return d->c ? quintptr(d->activeWindow()) : 0;
}

bool DesktopEvents::fullScreenActive(const QRect& screen) const
{
    if (!d->c)
        return false;
    const xcb_window_t window = d->activeWindow();
    if (window == XCB_WINDOW_NONE || !d->isFullScreen(window))
        return false;
    if (screen.isEmpty())
        return true;
    const std::optional<QPoint> centre = d->centreOf(window);
    if (!centre)
        return true;
    const qreal ratio = qApp->devicePixelRatio();
    const QRect native(screen.topLeft() * ratio, screen.size() * ratio);
    return native.contains(*centre);
}
