// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TrayHosts.h"

#include "platform/linux/Xcb.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>

#include <xcb/xcb.h>

// The system tray protocol: a tray owns the manager selection _NET_SYSTEM_TRAY_S<screen>; when it
// takes the selection it sends a MANAGER client message to the root window (StructureNotify), and
// when it goes its window is destroyed. Both arrive on Qt's own connection, which already listens
// to the root window's structure; the tray window is selected for its destruction.
namespace TrayHosts {

namespace {

using Xcb::atom;
using Xcb::Reply;
using Xcb::rootOf;

// The screen number of DISPLAY (":0.1" is screen 1), which names the selection.
int screenNumber()
{
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    const qsizetype dot = display.indexOf('.', colon < 0 ? 0 : colon);
    return dot < 0 ? 0 : display.mid(dot + 1).toInt();
}

// Adds `mask` to this client's event mask on `window`, keeping what Qt selected there.
void addEventMask(xcb_connection_t* c, xcb_window_t window, uint32_t mask)
{
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    if (!attributes)
        return;
    const uint32_t value = attributes->your_event_mask | mask;
    if (value != attributes->your_event_mask)
        xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &value);
}

class X11Tray final : public XEmbedTray, public QAbstractNativeEventFilter
{
public:
    X11Tray(xcb_connection_t* c, std::function<void(bool)> changed)
        : c_(c), changed_(std::move(changed))
    {
        const int screen = screenNumber();
        root_ = rootOf(c_, screen);
        manager_ = atom(c_, "MANAGER");
        selection_ = atom(c_, QByteArray("_NET_SYSTEM_TRAY_S" + QByteArray::number(screen)));
        if (root_ == XCB_WINDOW_NONE || selection_ == XCB_ATOM_NONE)
            return;
        addEventMask(c_, root_, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
        watchOwner(currentOwner());
        xcb_flush(c_);
        qApp->installNativeEventFilter(this);
    }

    ~X11Tray() override
    {
        if (qApp)
            qApp->removeNativeEventFilter(this);
    }

    bool present() const override { return owner_ != XCB_WINDOW_NONE; }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
        case XCB_CLIENT_MESSAGE: {
            const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if (m->window == root_ && m->type == manager_ && m->format == 32 &&
                m->data.data32[1] == selection_)
                follow(m->data.data32[2]);
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
            if (owner_ != XCB_WINDOW_NONE && destroyed->window == owner_)
                follow(currentOwner());
            break;
        }
        default:
            break;
        }
        return false; // Qt's own tray tracking sees the same events
    }

private:
    xcb_window_t currentOwner() const
    {
        Reply<xcb_get_selection_owner_reply_t> reply(
            xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, selection_), nullptr));
        return reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
    }

    // Selects the owner's destruction; an owner that went before that is replaced by whoever owns
    // the selection now.
    void watchOwner(xcb_window_t owner)
    {
        for (int attempt = 0; attempt < 3 && owner != XCB_WINDOW_NONE; ++attempt) {
            addEventMask(c_, owner, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
            const xcb_window_t now = currentOwner();
            if (now == owner)
                break;
            owner = now;
        }
        owner_ = owner;
    }

    void follow(xcb_window_t owner)
    {
        const xcb_window_t before = owner_;
        watchOwner(owner);
        xcb_flush(c_);
        if (owner_ != before)
            changed_(present());
    }

    xcb_connection_t* c_;
    std::function<void(bool)> changed_;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_atom_t manager_ = XCB_ATOM_NONE;
    xcb_atom_t selection_ = XCB_ATOM_NONE;
    xcb_window_t owner_ = XCB_WINDOW_NONE;
};

class NoTray final : public XEmbedTray
{
public:
    bool present() const override { return false; }
};

} // namespace

std::unique_ptr<XEmbedTray> watchXEmbedTray(std::function<void(bool)> changed)
{
    xcb_connection_t* c = Xcb::qtConnection();
    if (!c)
        return std::make_unique<NoTray>();
    return std::make_unique<X11Tray>(c, std::move(changed));
}

} // namespace TrayHosts
