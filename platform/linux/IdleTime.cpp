// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/IdleTime.h"

#include "platform/linux/DBusCalls.h"
#include "platform/linux/WaylandIdle.h"
#include "platform/linux/Xcb.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <memory>

// Where the idle time comes from, best first: the Wayland compositor's idle notifications (sway
// and other wlroots desktops, KWin), GNOME's Mutter (the only source on GNOME Wayland), the X
// server's MIT-SCREEN-SAVER extension (one quick local request), the screensaver service of other
// desktops (KDE on X11). On a Wayland desktop the X server is XWayland, which sees no input given
// to native windows: its figure would grow while the user types in one, so it comes after the
// compositor's. The D-Bus sources answer later; a query returns the latest answer.
namespace {

// The latest idle time a D-Bus service reported, grown by the time since it arrived.
struct ServiceAnswer
{
    QDBusMessage call;
    bool answered = false;
    bool absent = false; // its first call failed: the service is not there
    bool pending = false;
    int failures = 0;
    double seconds = 0;
    QElapsedTimer age;

    bool usable() const { return answered && !absent; }
    double now() const { return seconds + double(age.elapsed()) / 1000.0; }
};

constexpr qint64 kInhibitorRefreshMs = 5000;
constexpr int kFailuresToGiveUp = 3;

} // namespace

struct IdleTime::Impl
{
    IdleTime* q = nullptr;
    xcb_connection_t* x = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    std::unique_ptr<WaylandIdle> wayland;
    QDBusConnection session = QDBusConnection::sessionBus();
    QDBusConnection system = QDBusConnection::systemBus();
    ServiceAnswer mutter;
    ServiceAnswer freedesktop;

    // logind's list of what is blocked ("sleep:idle:handle-lid-switch"); it does not announce
    // changes, so it is asked again at most every few seconds while someone reads it.
    QString blockInhibited;
    QElapsedTimer blockInhibitedAge;
    bool blockInhibitedPending = false;

    void ask(ServiceAnswer& answer)
    {
        if (answer.pending || answer.absent || !session.isConnected())
            return;
        answer.pending = true;
        DBusCalls::callAsync(session, answer.call, q, [&answer](const QDBusMessage& reply) {
            answer.pending = false;
            if (!DBusCalls::isReply(reply)) {
                // One failure of a service that answered before keeps its last figure; one that
                // keeps failing has gone (a restarting shell) and the next source takes over.
                answer.absent = !answer.answered || ++answer.failures >= kFailuresToGiveUp;
                return;
            }
            answer.failures = 0;
            answer.seconds = double(reply.arguments().constFirst().toULongLong()) / 1000.0;
            answer.age.start();
            answer.answered = true;
        });
    }

    double read(ServiceAnswer& answer)
    {
        const double seconds = answer.now();
        ask(answer);
        return seconds;
    }

    bool xScreenSaverPresent() const
    {
        if (!x)
            return false;
        const xcb_query_extension_reply_t* ext = xcb_get_extension_data(x, &xcb_screensaver_id);
        return ext && ext->present;
    }

    std::optional<double> xIdleSeconds() const
    {
        if (!xScreenSaverPresent())
            return std::nullopt;
        const auto info = Xcb::reply(
            xcb_screensaver_query_info_reply(x, xcb_screensaver_query_info(x, root), nullptr));
        if (!info)
            return std::nullopt;
        return double(info->ms_since_user_input) / 1000.0;
    }

    void refreshBlockInhibited()
    {
        if (blockInhibitedPending || !system.isConnected())
            return;
        if (blockInhibitedAge.isValid() && blockInhibitedAge.elapsed() < kInhibitorRefreshMs)
            return;
        blockInhibitedPending = true;
        blockInhibitedAge.start();
        const QDBusMessage call = DBusCalls::propertyGet(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("BlockInhibited"));
        DBusCalls::callAsync(system, call, q, [this](const QDBusMessage& reply) {
            blockInhibitedPending = false;
            if (DBusCalls::isReply(reply))
                blockInhibited = DBusCalls::propertyValue(reply).toString();
        });
    }
};

IdleTime::IdleTime(QObject* parent) : QObject(parent), d(std::make_unique<Impl>())
{
    d->q = this;
    d->wayland = WaylandIdle::connectToSession();
    d->x = Xcb::qtConnection();
    if (d->x) {
        const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(d->x));
        if (screens.rem)
            d->root = screens.data->root;
        else
            d->x = nullptr;
    }
    d->mutter.call = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Mutter.IdleMonitor"),
        QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
        QStringLiteral("org.gnome.Mutter.IdleMonitor"), QStringLiteral("GetIdletime"));
    d->freedesktop.call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.ScreenSaver"),
        QStringLiteral("/org/freedesktop/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("GetSessionIdleTime"));
    // Both sources are asked at once, so the first query after start already has an answer.
    d->ask(d->mutter);
    if (!d->xScreenSaverPresent())
        d->ask(d->freedesktop);
    d->refreshBlockInhibited();
}

IdleTime::~IdleTime() = default;

std::optional<double> IdleTime::seconds()
{
    if (d->wayland) {
        if (const auto seconds = d->wayland->seconds())
            return seconds;
    }
    if (d->mutter.usable())
        return d->read(d->mutter);
    if (const auto x = d->xIdleSeconds())
        return *x;
    if (d->freedesktop.usable())
        return d->read(d->freedesktop);
    d->ask(d->freedesktop);
    return std::nullopt;
}

bool IdleTime::idleInhibited()
{
    d->refreshBlockInhibited();
    return d->blockInhibited.split(u':').contains(QLatin1String("idle"));
}
