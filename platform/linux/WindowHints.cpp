// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowHints.h"

#include "platform/linux/Xcb.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

// EWMH: a window that is not mapped yet carries its wishes as properties; once mapped, the
// window manager only listens to client messages sent to the root window. Both are sent, so the
// order of show() and these calls does not matter.
namespace {

using Xcb::atom;
using Xcb::rootOf;

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

// The first window named by `property` on `window`, or none.
xcb_window_t windowProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property)
{
    return Xcb::firstWordOf(Xcb::property(c, window, property, XCB_ATOM_WINDOW, 1).get(),
                            XCB_WINDOW_NONE);
}

QByteArray textProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property)
{
    return Xcb::bytesOf(Xcb::property(c, window, property, XCB_GET_PROPERTY_TYPE_ANY, 64).get());
}

// One request over sway's IPC socket (i3's protocol: "i3-ipc", payload length, type, payload),
// its reply's payload; empty when the socket is missing or slow. Never blocks for long: the
// answer is wanted while a click waits for the panel.
QByteArray swayRequest(uint32_t type, const QByteArray& payload = {})
{
    const QByteArray path = qgetenv("SWAYSOCK");
    sockaddr_un address{};
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
        return {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return {};
    QByteArray received;
    constexpr int kHeader = 14;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        QByteArray request(kHeader, '\0');
        const auto length = uint32_t(payload.size());
        std::memcpy(request.data(), "i3-ipc", 6);
        std::memcpy(request.data() + 6, &length, 4);
        std::memcpy(request.data() + 10, &type, 4);
        request += payload;
        if (::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL) ==
            ssize_t(request.size())) {
            qsizetype wanted = kHeader;
            pollfd readable{fd, POLLIN, 0};
            while (received.size() < wanted && ::poll(&readable, 1, 250) == 1) {
                char buffer[4096];
                const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                received.append(buffer, n);
                if (received.size() >= kHeader && wanted == kHeader) {
                    uint32_t replyLength = 0;
                    std::memcpy(&replyLength, received.constData() + 6, 4);
                    wanted = kHeader + qsizetype(replyLength);
                }
            }
            if (received.size() < wanted || !received.startsWith("i3-ipc"))
                received.clear();
        }
    }
    ::close(fd);
    return received.mid(kHeader);
}

} // namespace

namespace WindowHints {

void showOnAllDesktops(QWidget* window)
{
    xcb_connection_t* c = Xcb::qtConnection();
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
    xcb_connection_t* c = Xcb::qtConnection();
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
    xcb_connection_t* c = Xcb::qtConnection();
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
    xcb_connection_t* c = Xcb::qtConnection();
    if (!c)
        return true; // Wayland and the offscreen platform always compose
    // A compositing manager owns the selection _NET_WM_CM_S<screen>.
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(0);
    const xcb_atom_t selection = atom(c, name);
    if (selection == XCB_ATOM_NONE)
        return false;
    const auto owner = Xcb::reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

bool windowManagerIgnoresPositions()
{
    xcb_connection_t* c = Xcb::qtConnection();
    if (!c)
        return false;
    // The window manager does not change while the connection lives; asked once per connection.
    static xcb_connection_t* askedOf = nullptr;
    static bool ignores = false;
    if (askedOf == c)
        return ignores;
    askedOf = c;
    ignores = false;
    // EWMH: the window manager names itself on the window that _NET_SUPPORTING_WM_CHECK names.
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_atom_t name = atom(c, "_NET_WM_NAME");
    if (check == XCB_ATOM_NONE || name == XCB_ATOM_NONE)
        return false;
    const xcb_window_t wm = windowProperty(c, rootOf(c), check);
    ignores = wm != XCB_WINDOW_NONE && textProperty(c, wm, name) == "wlroots wm";
    return ignores;
}

namespace {

// sway's "move absolute position" for our X11 window, repeated every 50 ms while sway does not
// know the window yet (it maps a moment after Qt shows it), for up to a second.
void placeThroughSway(QPointer<QWidget> window, QPoint topLeft, int attemptsLeft)
{
    if (!window || !window->isVisible())
        return;
    constexpr uint32_t kRunCommand = 0;
    const qreal ratio = window->devicePixelRatioF();
    const QByteArray command = QStringLiteral("[id=%1] move absolute position %2 %3, sticky enable")
                                   .arg(window->winId())
                                   .arg(qRound(topLeft.x() * ratio))
                                   .arg(qRound(topLeft.y() * ratio))
                                   .toUtf8();
    const QJsonArray results = QJsonDocument::fromJson(swayRequest(kRunCommand, command)).array();
    const bool placed =
        !results.isEmpty() && results.first().toObject().value(QStringLiteral("success")).toBool();
    if (!placed && attemptsLeft > 1)
        QTimer::singleShot(50, window, [window, topLeft, attemptsLeft] {
            placeThroughSway(window, topLeft, attemptsLeft - 1);
        });
}

} // namespace

void askCompositorToPlace(QWidget* window, QPoint topLeft)
{
    if (window && window->isVisible() && windowManagerIgnoresPositions())
        placeThroughSway(window, topLeft, 20);
}

QList<QRect> compositorWorkAreas()
{
    constexpr uint32_t kGetWorkspaces = 1;
    const QJsonArray workspaces = QJsonDocument::fromJson(swayRequest(kGetWorkspaces)).array();
    QList<QRect> areas;
    for (const QJsonValue& value : workspaces) {
        const QJsonObject workspace = value.toObject();
        if (!workspace.value(QStringLiteral("visible")).toBool())
            continue;
        const QJsonObject rect = workspace.value(QStringLiteral("rect")).toObject();
        const QRect area(rect.value(QStringLiteral("x")).toInt(),
                         rect.value(QStringLiteral("y")).toInt(),
                         rect.value(QStringLiteral("width")).toInt(),
                         rect.value(QStringLiteral("height")).toInt());
        if (area.isValid())
            areas.append(area);
    }
    return areas;
}

} // namespace WindowHints
