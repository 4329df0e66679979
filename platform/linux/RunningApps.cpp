// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RunningApps.h"

#include "platform/InstalledApps.h"
#include "platform/linux/Xcb.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QSet>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

// On X11 the window manager publishes its managed windows in _NET_CLIENT_LIST. An application is
// named the way the desktop names it: the desktop entry its window belongs to (matched by
// WM_CLASS and the window's program, as for the window in front), else the class part of
// WM_CLASS ("discord", "Slack"). Only windows a user switches to count: docks, panels, menus,
// windows kept off the taskbar and this application's own windows are not applications to list.
namespace {

using Xcb::property;

struct Atoms
{
    xcb_atom_t clientList = XCB_ATOM_NONE;
    xcb_atom_t type = XCB_ATOM_NONE;
    xcb_atom_t normal = XCB_ATOM_NONE;
    xcb_atom_t state = XCB_ATOM_NONE;
    xcb_atom_t skipTaskbar = XCB_ATOM_NONE;
    xcb_atom_t icon = XCB_ATOM_NONE;
    xcb_atom_t pid = XCB_ATOM_NONE;
};

// The atoms of a 32-bit ATOM property (a window's type or state).
QList<xcb_atom_t> atomList(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name)
{
    const auto reply = property(c, window, name, XCB_ATOM_ATOM, 32);
    if (!reply || reply->format != 32)
        return {};
    const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return QList<xcb_atom_t>(data, data + count);
}

// WM_CLASS is "instance\0class\0".
std::pair<QString, QString> windowClass(xcb_connection_t* c, xcb_window_t window)
{
    const auto reply = property(c, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 64);
    if (!reply || reply->format != 8)
        return {};
    const QByteArray raw(static_cast<const char*>(xcb_get_property_value(reply.get())),
                         xcb_get_property_value_length(reply.get()));
    const QList<QByteArray> parts = raw.split('\0');
    return {QString::fromUtf8(parts.value(0)), QString::fromUtf8(parts.value(1))};
}

bool isTaskbarWindow(xcb_connection_t* c, xcb_window_t window, const Atoms& atoms)
{
    // No type means a normal window.
    const QList<xcb_atom_t> types = atomList(c, window, atoms.type);
    if (!types.isEmpty() && types.first() != atoms.normal)
        return false;
    return !atomList(c, window, atoms.state).contains(atoms.skipTaskbar);
}

// The file name of the program a window's process runs, when the window names its process.
QString executableOf(xcb_connection_t* c, xcb_window_t window, xcb_atom_t pidAtom)
{
    const auto reply = property(c, window, pidAtom, XCB_ATOM_CARDINAL, 1);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
        return {};
    const uint32_t pid = *static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    if (pid == 0)
        return {};
    const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    if (!exe.isEmpty())
        return QFileInfo(exe).fileName();
    // Another user's process hides its executable; the kernel's short name is still readable.
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll()).trimmed() : QString();
}

// Every picture in _NET_WM_ICON (width, height, then ARGB rows, repeated), so the icon can pick
// the size nearest to the one it is drawn at.
QIcon windowIcon(xcb_connection_t* c, xcb_window_t window, xcb_atom_t iconAtom)
{
    // 4 MiB: a 1024-pixel picture with a few smaller ones.
    const auto reply = property(c, window, iconAtom, XCB_ATOM_CARDINAL, 1 << 20);
    if (!reply || reply->format != 32)
        return {};
    const auto count = size_t(xcb_get_property_value_length(reply.get())) / 4;
    const auto* words = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    QIcon icon;
    for (size_t i = 0; i + 2 <= count;) {
        const uint32_t w = words[i], h = words[i + 1];
        if (w == 0 || h == 0 || w > 1024 || h > 1024 || count - i - 2 < size_t(w) * h)
            break;
        QImage image(int(w), int(h), QImage::Format_ARGB32);
        for (uint32_t y = 0; y < h; ++y)
            std::memcpy(image.scanLine(int(y)), words + i + 2 + size_t(y) * w, size_t(w) * 4);
        icon.addPixmap(QPixmap::fromImage(image));
        i += 2 + size_t(w) * h;
    }
    return icon;
}

} // namespace

namespace RunningApps {

QList<RunningApp> list()
{
    xcb_connection_t* c = Xcb::qtConnection();
    if (!c)
        return {};
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
    if (!screens.rem)
        return {};
    Atoms atoms;
    // Names no client has interned yet are not created: no window can carry them.
    atoms.clientList = Xcb::atom(c, "_NET_CLIENT_LIST", true);
    atoms.type = Xcb::atom(c, "_NET_WM_WINDOW_TYPE", true);
    atoms.normal = Xcb::atom(c, "_NET_WM_WINDOW_TYPE_NORMAL", true);
    atoms.state = Xcb::atom(c, "_NET_WM_STATE", true);
    atoms.skipTaskbar = Xcb::atom(c, "_NET_WM_STATE_SKIP_TASKBAR", true);
    atoms.icon = Xcb::atom(c, "_NET_WM_ICON", true);
    atoms.pid = Xcb::atom(c, "_NET_WM_PID", true);
    const auto clients = property(c, screens.data->root, atoms.clientList, XCB_ATOM_WINDOW, 4096);
    if (!clients || clients->format != 32)
        return {};
    const int count = xcb_get_property_value_length(clients.get()) / 4;
    const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(clients.get()));

    QList<RunningApp> apps;
    QSet<QString> seen;
    for (int i = 0; i < count; ++i) {
        const xcb_window_t window = windows[i];
        // Ids from this connection's range are this application's own windows.
        if ((window & ~setup->resource_id_mask) == setup->resource_id_base ||
            !isTaskbarWindow(c, window, atoms))
            continue;
        const auto [instance, cls] = windowClass(c, window);
        const auto installed =
            findInstalledAppForWindow(cls, instance, executableOf(c, window, atoms.pid));
        QString name = installed ? installed->displayName : QString();
        if (name.trimmed().isEmpty())
            name = !cls.isEmpty() ? cls : instance;
        if (name.trimmed().isEmpty() || seen.contains(name))
            continue;
        seen.insert(name);
        QIcon icon = installed ? installed->icon : QIcon();
        if (icon.isNull())
            icon = windowIcon(c, window, atoms.icon);
        apps.append(RunningApp{name, icon});
    }
    return apps;
}

} // namespace RunningApps
