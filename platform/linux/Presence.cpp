// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Presence.h"

#include "platform/linux/DBusCalls.h"
#include "platform/linux/Xcb.h"

#include <QAbstractNativeEventFilter>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QGuiApplication>

#include <xcb/dpms.h>
#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <unistd.h>

#include <optional>

// Three screensavers can run: the desktop's (KDE, Xfce and others as org.freedesktop.ScreenSaver,
// GNOME as org.gnome.ScreenSaver, both announcing ActiveChanged) and the X server's own blanking.
// Any of them running counts. The lock is logind's LockedHint of this process's session, which
// every current screen locker sets; without logind the screensaver stands in for it.
namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

bool extensionPresent(xcb_connection_t* x, xcb_extension_t* extension)
{
    const xcb_query_extension_reply_t* reply = xcb_get_extension_data(x, extension);
    return reply && reply->present;
}

bool saverRunning(uint8_t state)
{
    return state == XCB_SCREENSAVER_STATE_ON || state == XCB_SCREENSAVER_STATE_CYCLE;
}

// The session object of a logind "(so)" pair, as the user's Display property holds it.
QString sessionPathOf(const QVariant& value)
{
    if (!value.canConvert<QDBusArgument>())
        return {};
    const auto argument = value.value<QDBusArgument>();
    QString id;
    QDBusObjectPath path;
    argument.beginStructure();
    argument >> id >> path;
    argument.endStructure();
    return path.path() == QLatin1String("/") ? QString() : path.path();
}

} // namespace

struct Presence::Impl final : QAbstractNativeEventFilter
{
    Presence* q = nullptr;
    xcb_connection_t* x = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    uint8_t saverEventBase = 0;
    bool dpms = false;
    QDBusConnection session = QDBusConnection::sessionBus();
    QDBusConnection system = QDBusConnection::systemBus();

    bool freedesktopSaver = false;
    bool gnomeSaver = false;
    bool xSaver = false;
    std::optional<bool> lockedHint; // none while no logind session is known
    QString sessionPath;

    // What the signals last announced.
    bool saverShown = false;
    bool lockShown = false;
    bool asleepShown = false;

    bool saverOn() const { return freedesktopSaver || gnomeSaver || xSaver; }
    bool locked() const { return lockedHint ? *lockedHint : saverOn(); }

    void publish()
    {
        if (saverOn() != saverShown) {
            saverShown = saverOn();
            Q_EMIT q->screenSaverChanged(saverShown);
        }
        if (locked() != lockShown) {
            lockShown = locked();
            Q_EMIT q->screenLockedChanged(lockShown);
        }
    }

    void watchDesktopSaver(const QString& service, const QString& path, bool Impl::*flag)
    {
        if (!session.isConnected())
            return;
        // Any sender and any object: KDE announces on /ScreenSaver as well.
        new DBusSignal(
            session, QString(), QString(), service, QStringLiteral("ActiveChanged"),
            [this, flag](const QDBusMessage& message) {
                if (message.arguments().isEmpty())
                    return;
                this->*flag = message.arguments().constFirst().toBool();
                publish();
            },
            q);
        DBusCalls::callAsync(
            session,
            QDBusMessage::createMethodCall(service, path, service, QStringLiteral("GetActive")), q,
            [this, flag](const QDBusMessage& reply) {
                if (!DBusCalls::isReply(reply))
                    return;
                this->*flag = reply.arguments().constFirst().toBool();
                publish();
            });
    }

    void watchXSaver()
    {
        if (!x || !extensionPresent(x, &xcb_screensaver_id))
            return;
        saverEventBase = xcb_get_extension_data(x, &xcb_screensaver_id)->first_event;
        xcb_screensaver_select_input(x, root, XCB_SCREENSAVER_EVENT_NOTIFY_MASK);
        if (const auto info = Xcb::reply(
                xcb_screensaver_query_info_reply(x, xcb_screensaver_query_info(x, root), nullptr)))
            xSaver = saverRunning(info->state);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != saverEventBase + XCB_SCREENSAVER_NOTIFY)
            return false;
        const auto* notify = reinterpret_cast<const xcb_screensaver_notify_event_t*>(event);
        xSaver = saverRunning(notify->state);
        publish();
        return false;
    }

    // The session this process runs in; a process the desktop started outside it (GNOME starts
    // applications in units of their own) belongs to the user's graphical session.
    void findSession()
    {
        if (!system.isConnected())
            return;
        QDBusMessage bySelf = QDBusMessage::createMethodCall(kLogind, kLogindPath, kManager,
                                                             QStringLiteral("GetSessionByPID"));
        bySelf << quint32(::getpid());
        DBusCalls::callAsync(system, bySelf, q, [this](const QDBusMessage& reply) {
            if (DBusCalls::isReply(reply)) {
                followSession(reply.arguments().constFirst().value<QDBusObjectPath>().path());
                return;
            }
            const QDBusMessage display = DBusCalls::propertyGet(
                kLogind, QStringLiteral("/org/freedesktop/login1/user/self"),
                QStringLiteral("org.freedesktop.login1.User"), QStringLiteral("Display"));
            DBusCalls::callAsync(system, display, q, [this](const QDBusMessage& answer) {
                if (DBusCalls::isReply(answer))
                    followSession(sessionPathOf(DBusCalls::propertyValue(answer)));
            });
        });
    }

    void followSession(const QString& path)
    {
        if (path.isEmpty() || !sessionPath.isEmpty())
            return;
        sessionPath = path;
        new DBusSignal(
            system, kLogind, path, kProperties, QStringLiteral("PropertiesChanged"),
            [this](const QDBusMessage& message) {
                const QList<QVariant> args = message.arguments();
                if (args.size() < 3 || args[0].toString() != kSession)
                    return;
                const QVariantMap changed = qdbus_cast<QVariantMap>(args[1]);
                if (changed.contains(QStringLiteral("LockedHint"))) {
                    lockedHint = changed.value(QStringLiteral("LockedHint")).toBool();
                    publish();
                } else if (args[2].toStringList().contains(QStringLiteral("LockedHint"))) {
                    readLockedHint();
                }
            },
            q);
        readLockedHint();
    }

    void readLockedHint()
    {
        DBusCalls::callAsync(
            system,
            DBusCalls::propertyGet(kLogind, sessionPath, kSession, QStringLiteral("LockedHint")), q,
            [this](const QDBusMessage& reply) {
                if (!DBusCalls::isReply(reply))
                    return;
                lockedHint = DBusCalls::propertyValue(reply).toBool();
                publish();
            });
    }

    bool queryDisplayAsleep() const
    {
        if (!dpms)
            return false;
        const auto info = Xcb::reply(xcb_dpms_info_reply(x, xcb_dpms_info(x), nullptr));
        return info && info->state && info->power_level != XCB_DPMS_DPMS_MODE_ON;
    }
};

Presence::Presence(QObject* parent) : QObject(parent), d(std::make_unique<Impl>())
{
    d->q = this;
    if ((d->x = Xcb::qtConnection())) {
        const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(d->x));
        if (screens.rem)
            d->root = screens.data->root;
        else
            d->x = nullptr;
    }
    d->dpms = d->x && extensionPresent(d->x, &xcb_dpms_id);
    d->watchXSaver();
    d->watchDesktopSaver(QStringLiteral("org.freedesktop.ScreenSaver"),
                         QStringLiteral("/org/freedesktop/ScreenSaver"), &Impl::freedesktopSaver);
    d->watchDesktopSaver(QStringLiteral("org.gnome.ScreenSaver"),
                         QStringLiteral("/org/gnome/ScreenSaver"), &Impl::gnomeSaver);
    d->findSession();
    d->saverShown = d->saverOn();
    d->lockShown = d->locked();
    d->asleepShown = d->queryDisplayAsleep();
}

Presence::~Presence() = default;

bool Presence::screenSaverOn() const
{
    return d->saverOn();
}

bool Presence::screenLocked() const
{
    return d->locked();
}

bool Presence::displayAsleep()
{
    // DPMS (1.1) announces nothing, so the server is asked each time; a local request is cheap.
    const bool asleep = d->queryDisplayAsleep();
    if (asleep != d->asleepShown) {
        d->asleepShown = asleep;
        Q_EMIT displayAsleepChanged(asleep);
    }
    return asleep;
}

bool Presence::awayByScreen()
{
    return screenSaverOn() || screenLocked() || displayAsleep();
}

void Presence::clearScreenSaver()
{
    d->freedesktopSaver = d->gnomeSaver = d->xSaver = false;
    d->publish();
}
