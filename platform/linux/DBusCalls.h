// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QObject>

#include <functional>
#include <utility>

// QtDBus hands a bus signal only to a slot named by its signature text; this relays it to a
// function. It stops listening when destroyed.
class DBusSignal final : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(const QDBusMessage&)>;

    // An empty `service` or `path` listens to every sender or object.
    DBusSignal(QDBusConnection bus, const QString& service, const QString& path,
               const QString& interface, const QString& name, Handler handler, QObject* parent)
        : QObject(parent), handler_(std::move(handler))
    {
        bus.connect(service, path, interface, name, this, SLOT(deliver(QDBusMessage)));
    }

public Q_SLOTS:
    void deliver(const QDBusMessage& message) { handler_(message); }

private:
    Handler handler_;
};

namespace DBusCalls {

// Sends `call` without waiting; `done` gets the reply (an error message on failure or timeout)
// on the thread of `context`, unless `context` is gone by then.
inline void callAsync(QDBusConnection bus, QDBusMessage call, QObject* context,
                      std::function<void(const QDBusMessage& reply)> done, int timeoutMs = 3000)
{
    // A desktop service missing from the bus is an answer, not a reason to start one.
    call.setAutoStartService(false);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, timeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, done = std::move(done)] {
                         watcher->deleteLater();
                         done(watcher->reply());
                     });
}

inline QDBusMessage propertyGet(const QString& service, const QString& path,
                                const QString& interface, const QString& name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << interface << name;
    return call;
}

inline bool isReply(const QDBusMessage& reply)
{
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
}

// The value a Properties.Get reply carries.
inline QVariant propertyValue(const QDBusMessage& reply)
{
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

} // namespace DBusCalls
