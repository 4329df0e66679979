// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FrontmostApp.h"

#include "platform/InstalledApps.h"
#include "platform/linux/GnomeShellWindows.h"
#include "platform/linux/KWinScript.h"
#include "platform/linux/WaylandToplevels.h"
#include "platform/linux/Xcb.h"

#include <QAbstractNativeEventFilter>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QSocketNotifier>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

// The window manager names the focused client in the root window's _NET_ACTIVE_WINDOW and
// announces each change with a PropertyNotify on the root; the front window's own PropertyNotify
// tells of title changes. Without such a window manager the X input focus stands in, followed
// through the focus events of the root and of the front window.
//
// Where Qt itself does not draw through X (a Wayland session with Qt's Wayland plugin), a
// connection of our own to the session's X server (XWayland) still names the X11 windows in
// front; the compositor clears _NET_ACTIVE_WINDOW while a Wayland window has the focus, so those
// are never guessed at.
//
// A wlroots compositor lists its windows, native and XWayland alike, for taskbars: where it
// offers that list, the list says which window has the focus, and the X11 connection adds what
// only X11 knows of an XWayland window (its process, its instance).
namespace {

using Xcb::atom;
using Xcb::bytesOf;
using Xcb::Reply;

// The file name of the program a process runs: its executable, else the kernel's short name
// (another user's process hides its executable).
QString executableOf(qint64 pid)
{
    if (pid <= 0)
        return {};
    const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    if (!exe.isEmpty())
        return QFileInfo(exe).fileName();
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (comm.open(QIODevice::ReadOnly))
        return QString::fromUtf8(comm.readAll()).trimmed();
    return {};
}

constexpr uint32_t kTitleWords = 1024; // 4 KiB of title is more than any window shows

} // namespace

struct FrontmostApp::Impl final : QAbstractNativeEventFilter
{
    FrontmostApp* q = nullptr;
    xcb_connection_t* x = nullptr;
    bool ownConnection = false; // ours, not Qt's: its events are read here
    QSocketNotifier* notifier = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_atom_t activeWindowAtom = XCB_ATOM_NONE;
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t netWmPid = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    bool managerNamesActive = false;        // the window manager keeps _NET_ACTIVE_WINDOW
    xcb_window_t watched = XCB_WINDOW_NONE; // the front window whose title changes are followed
    std::optional<FrontWindow> front;
    // Desktop entries by class, instance and program: a window switch costs no folder scan.
    QHash<QString, std::optional<InstalledApp>> entries;
    std::unique_ptr<WaylandToplevels> wayland; // on a wlroots compositor only
    std::unique_ptr<GnomeShellWindows> gnome;  // where GNOME Shell runs
    std::unique_ptr<KWinScript> kwin;          // our script inside KWin on Wayland

    void start()
    {
        const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x));
        if (!screens.rem) {
            if (ownConnection)
                xcb_disconnect(x);
            x = nullptr;
            return;
        }
        root = screens.data->root;
        activeWindowAtom = atom(x, "_NET_ACTIVE_WINDOW");
        netWmName = atom(x, "_NET_WM_NAME");
        netWmPid = atom(x, "_NET_WM_PID");
        utf8String = atom(x, "UTF8_STRING");
        // The root window's event mask is per client and Qt has its own there: add to it.
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, root), nullptr));
        const uint32_t mask = (attributes ? attributes->your_event_mask : 0) |
                              XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_FOCUS_CHANGE;
        xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(x);
        if (ownConnection)
            readEventsOfOwnConnection();
        else
            QCoreApplication::instance()->installNativeEventFilter(this);
        front = read();
    }

    // Connects to the session's X server when Qt has no connection to one.
    bool connectOwn()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            return false;
        xcb_connection_t* c = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c)) {
            xcb_disconnect(c);
            return false;
        }
        x = c;
        ownConnection = true;
        return true;
    }

    void readEventsOfOwnConnection()
    {
        notifier = new QSocketNotifier(xcb_get_file_descriptor(x), QSocketNotifier::Read, q);
        QObject::connect(notifier, &QSocketNotifier::activated, q, [this] { drainEvents(); });
        // Replies read so far may have brought events along that the socket no longer announces.
        QTimer::singleShot(0, q, [this] { drainEvents(); });
    }

    void drainEvents()
    {
        if (xcb_connection_has_error(x)) {
            notifier->setEnabled(false); // the X server went away: the front is unknown
            if (front) {
                front.reset();
                Q_EMIT q->changed();
            }
            return;
        }
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            nativeEventFilter(QByteArrayLiteral("xcb_generic_event_t"), event, nullptr);
            std::free(event);
        }
    }

    bool ownWindow(xcb_window_t window) const
    {
        const xcb_setup_t* setup = xcb_get_setup(x);
        return (window & ~setup->resource_id_mask) == setup->resource_id_base;
    }

    // The window manager's active window; none for the desktop itself, and the input focus when
    // the window manager keeps no such property.
    xcb_window_t frontWindow()
    {
        const auto active = Xcb::property(x, root, activeWindowAtom, XCB_ATOM_WINDOW, 1);
        managerNamesActive = active && active->type == XCB_ATOM_WINDOW && active->format == 32 &&
                             xcb_get_property_value_length(active.get()) >= 4;
        if (managerNamesActive)
            return *static_cast<const xcb_window_t*>(xcb_get_property_value(active.get()));
        return focusedClient();
    }

    xcb_window_t focusedClient() const
    {
        Reply<xcb_get_input_focus_reply_t> focus(
            xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));
        if (!focus)
            return XCB_WINDOW_NONE;
        xcb_window_t window = focus->focus;
        // Up from the focused window (a client's inner window) to the first that names its
        // application; the root itself (or pointer-root focus) means nothing is in front.
        for (int depth = 0; depth < 32; ++depth) {
            if (window == XCB_WINDOW_NONE || window == XCB_INPUT_FOCUS_POINTER_ROOT ||
                window == root)
                return XCB_WINDOW_NONE;
            const auto wmClass = Xcb::property(x, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 64);
            if (wmClass && wmClass->type != XCB_ATOM_NONE)
                return window;
            Reply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(x, xcb_query_tree(x, window), nullptr));
            if (!tree)
                return XCB_WINDOW_NONE;
            window = tree->parent;
        }
        return XCB_WINDOW_NONE;
    }

    QString title(xcb_window_t window) const
    {
        const QByteArray utf8 =
            bytesOf(Xcb::property(x, window, netWmName, utf8String, kTitleWords).get());
        if (!utf8.isEmpty())
            return QString::fromUtf8(utf8);
        const auto legacy =
            Xcb::property(x, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, kTitleWords);
        const QByteArray bytes = bytesOf(legacy.get());
        if (legacy && legacy->type == utf8String)
            return QString::fromUtf8(bytes);
        return QString::fromLatin1(bytes);
    }

    // openbox leaves _NET_ACTIVE_WINDOW naming a window that closed or hid itself (to a tray)
    // until another one is activated: only a window on screen is in front.
    bool onScreen(xcb_window_t window) const
    {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), nullptr));
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    std::optional<FrontWindow> read()
    {
        const xcb_window_t window = frontWindow();
        watch(window);
        if (window == XCB_WINDOW_NONE || !onScreen(window))
            return std::nullopt;
        FrontWindow result;
        // "instance\0class\0"
        const QList<QByteArray> wmClass =
            bytesOf(Xcb::property(x, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 64).get())
                .split('\0');
        result.instance = QString::fromUtf8(wmClass.value(0));
        result.windowClass = QString::fromUtf8(wmClass.value(1));
        if (const auto pid = Xcb::property(x, window, netWmPid, XCB_ATOM_CARDINAL, 1);
            pid && pid->format == 32 && xcb_get_property_value_length(pid.get()) >= 4)
            result.pid = *static_cast<const uint32_t*>(xcb_get_property_value(pid.get()));
        result.executable = executableOf(result.pid);
        result.title = title(window);
        const QString key =
            result.windowClass + u'\n' + result.instance + u'\n' + result.executable;
        auto entry = entries.find(key);
        if (entry == entries.end())
            entry =
                entries.insert(key, findInstalledAppForWindow(result.windowClass, result.instance,
                                                              result.executable));
        if (*entry) {
            result.appName = (*entry)->displayName;
            result.desktopFile = (*entry)->desktopFile;
        }
        return result;
    }

    // Title changes, focus and closing of the front window; Qt's own windows are left to Qt's
    // event mask.
    void watch(xcb_window_t window)
    {
        if (window == watched)
            return;
        const auto select = [this](xcb_window_t w, uint32_t mask) {
            if (w == XCB_WINDOW_NONE || ownWindow(w))
                return;
            // A window gone by now answers with an error; it is not worth a warning.
            xcb_discard_reply(
                x, xcb_change_window_attributes_checked(x, w, XCB_CW_EVENT_MASK, &mask).sequence);
        };
        select(watched, XCB_EVENT_MASK_NO_EVENT);
        select(window, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_FOCUS_CHANGE |
                           XCB_EVENT_MASK_STRUCTURE_NOTIFY);
        watched = window;
        xcb_flush(x);
    }

    void refresh()
    {
        auto now = read();
        if (now == front)
            return;
        front = std::move(now);
        Q_EMIT q->changed();
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
        case XCB_PROPERTY_NOTIFY: {
            const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
            if ((notify->window == root && notify->atom == activeWindowAtom) ||
                (notify->window == watched && watched != XCB_WINDOW_NONE &&
                 (notify->atom == netWmName || notify->atom == XCB_ATOM_WM_NAME)))
                refresh();
            break;
        }
        case XCB_MAP_NOTIFY:
        case XCB_UNMAP_NOTIFY:
        case XCB_DESTROY_NOTIFY: {
            // The same layout for all three: the window told, then the window concerned.
            const auto* notify = reinterpret_cast<const xcb_unmap_notify_event_t*>(event);
            if (notify->window == watched && watched != XCB_WINDOW_NONE)
                refresh();
            break;
        }
        case XCB_FOCUS_IN:
        case XCB_FOCUS_OUT: {
            // Only the input focus leaving the front window or the root tells of a switch: X
            // sends nothing to the root when the focus moves between two top-level windows.
            const auto* focus = reinterpret_cast<const xcb_focus_in_event_t*>(event);
            if (!managerNamesActive && (focus->event == root || focus->event == watched))
                refresh();
            break;
        }
        default:
            break;
        }
        return false;
    }
};

FrontmostApp::FrontmostApp(QObject* parent) : QObject(parent), d(std::make_unique<Impl>())
{
    d->q = this;
    if ((d->x = Xcb::qtConnection()) || d->connectOwn())
        d->start();
    if ((d->wayland = WaylandToplevels::connectToSession()))
        connect(d->wayland.get(), &WaylandToplevels::changed, this, &FrontmostApp::changed);
    else if ((d->gnome = GnomeShellWindows::connectToSession()))
        connect(d->gnome.get(), &GnomeShellWindows::changed, this, &FrontmostApp::changed);
    else if ((d->kwin = KWinScript::loadIntoSession()))
        connect(d->kwin.get(), &KWinScript::changed, this, &FrontmostApp::changed);
}

FrontmostApp::~FrontmostApp()
{
    if (!d->x)
        return;
    if (d->ownConnection) {
        delete d->notifier;
        xcb_disconnect(d->x);
        return;
    }
    d->watch(XCB_WINDOW_NONE);
}

std::optional<FrontWindow> FrontmostApp::current()
{
    if (d->wayland)
        return WaylandToplevels::frontWindow(d->wayland->activated(), d->front);
    if (d->gnome && d->gnome->extensionPresent())
        return d->gnome->front();
    if (d->kwin && d->kwin->reporting())
        return KWinScript::frontWindow(d->kwin->active(), d->front);
    return d->front;
}

FrontSource FrontmostApp::source() const
{
    if (d->wayland)
        return FrontSource::wlroots;
    if (d->kwin && d->kwin->reporting())
        return FrontSource::kwinScript;
    const FrontSource x11 = d->x ? FrontSource::x11 : FrontSource::none;
    return d->gnome ? d->gnome->source(x11) : x11;
}
