#include "platform/RunningApps.h"

#include "platform/InstalledApps.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

// On X11 the window manager publishes its managed windows in _NET_CLIENT_LIST; an application is
// known by the class part of WM_CLASS, which is also what desktop entries and users call it
// ("discord", "Slack", "firefox"). Only ordinary windows count: docks, panels, menus and this
// application's own windows are not applications a user switches to.
namespace {

struct FreeDeleter
{
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

Reply<xcb_get_property_reply_t> property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                                         xcb_atom_t type, uint32_t maxWords)
{
    return Reply<xcb_get_property_reply_t>(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, name, type, 0, maxWords), nullptr));
}

QString windowClass(xcb_connection_t* c, xcb_window_t window)
{
    const auto reply = property(c, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 64);
    if (!reply || reply->format != 8)
        return {};
    const int length = xcb_get_property_value_length(reply.get());
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    // "instance\0class\0": the class is the application's name.
    const QByteArray raw(data, length);
    const QList<QByteArray> parts = raw.split('\0');
    return parts.size() >= 2 ? QString::fromUtf8(parts[1]) : QString::fromUtf8(parts.value(0));
}

bool isOrdinaryWindow(xcb_connection_t* c, xcb_window_t window, xcb_atom_t typeAtom,
                      xcb_atom_t normal)
{
    const auto reply = property(c, window, typeAtom, XCB_ATOM_ATOM, 16);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) == 0)
        return true; // no type means a normal window
    const auto* types = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    return types[0] == normal;
}

// The largest picture in _NET_WM_ICON (width, height, then ARGB pixels, repeated).
QIcon windowIcon(xcb_connection_t* c, xcb_window_t window, xcb_atom_t iconAtom)
{
    const auto reply = property(c, window, iconAtom, XCB_ATOM_CARDINAL, 1 << 20);
    if (!reply || reply->format != 32)
        return {};
    const auto count = size_t(xcb_get_property_value_length(reply.get())) / 4;
    const auto* words = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    QImage best;
    for (size_t i = 0; i + 2 <= count;) {
        const uint32_t w = words[i], h = words[i + 1];
        if (w == 0 || h == 0 || w > 1024 || h > 1024 || count - i - 2 < size_t(w) * h)
            break;
        if (int(w) > best.width()) {
            QImage image(int(w), int(h), QImage::Format_ARGB32);
            for (uint32_t y = 0; y < h; ++y)
                std::memcpy(image.scanLine(int(y)), words + i + 2 + size_t(y) * w, w * 4);
            best = image;
        }
        i += 2 + size_t(w) * h;
    }
    return best.isNull() ? QIcon() : QIcon(QPixmap::fromImage(best));
}

} // namespace

namespace RunningApps {

QList<RunningApp> list()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return {};
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    if (!screens.rem)
        return {};
    const xcb_atom_t clientList = atom(c, "_NET_CLIENT_LIST");
    const xcb_atom_t typeAtom = atom(c, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t normal = atom(c, "_NET_WM_WINDOW_TYPE_NORMAL");
    const xcb_atom_t iconAtom = atom(c, "_NET_WM_ICON");
    if (clientList == XCB_ATOM_NONE)
        return {};
    const auto clients = property(c, screens.data->root, clientList, XCB_ATOM_WINDOW, 4096);
    if (!clients || clients->format != 32)
        return {};
    const int count = xcb_get_property_value_length(clients.get()) / 4;
    const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(clients.get()));

    QSet<xcb_window_t> own;
    for (const QWindow* window : QGuiApplication::allWindows())
        own.insert(xcb_window_t(window->winId()));

    QList<RunningApp> apps;
    QSet<QString> seen;
    for (int i = 0; i < count; ++i) {
        const xcb_window_t window = windows[i];
        if (own.contains(window) || !isOrdinaryWindow(c, window, typeAtom, normal))
            continue;
        const QString name = windowClass(c, window);
        if (name.isEmpty() || seen.contains(name))
            continue;
        seen.insert(name);
        QIcon icon;
        if (const auto installed = findInstalledApp(name); installed && !installed->icon.isNull())
            icon = installed->icon;
        else if (iconAtom != XCB_ATOM_NONE)
            icon = windowIcon(c, window, iconAtom);
        apps.append(RunningApp{name, icon});
    }
    return apps;
}

} // namespace RunningApps
