// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeBus.h"

#include <QDBusVariant>
#include <QUuid>

class FakeService::Object final : public QDBusVirtualObject
{
public:
    explicit Object(FakeService* owner) : owner_(owner) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& call, const QDBusConnection& connection) override
    {
        if (call.type() != QDBusMessage::MethodCallMessage)
            return false;
        ++owner_->calls_[call.member()];
        QDBusMessage reply;
        if (call.interface() == QLatin1String("org.freedesktop.DBus.Properties") &&
            call.member() == QLatin1String("Get") && call.arguments().size() == 2) {
            const QString key =
                call.arguments()[0].toString() + u'.' + call.arguments()[1].toString();
            reply = properties.contains(key)
                        ? call.createReply(QVariant::fromValue(QDBusVariant(properties.value(key))))
                        : call.createErrorReply(QDBusError::UnknownProperty, key);
        } else if (methods.contains(call.member())) {
            reply = methods.value(call.member())(call);
        } else {
            reply = call.createErrorReply(QDBusError::UnknownMethod, call.member());
        }
        connection.send(reply);
        return true;
    }

    QHash<QString, Method> methods;
    QHash<QString, QVariant> properties;

private:
    FakeService* owner_;
};

FakeService::FakeService(Bus bus, const QString& name)
    : name_(name), connectionName_(QUuid::createUuid().toString()),
      connection_(QDBusConnection::connectToBus(
          QString::fromLocal8Bit(qgetenv(bus == Bus::session ? "DBUS_SESSION_BUS_ADDRESS"
                                                             : "DBUS_SYSTEM_BUS_ADDRESS")),
          connectionName_))
{
    own();
}

FakeService::~FakeService()
{
    for (auto it = objects_.cbegin(); it != objects_.cend(); ++it)
        connection_.unregisterObject(it.key());
    release();
    QDBusConnection::disconnectFromBus(connectionName_);
}

bool FakeService::own()
{
    return connection_.registerService(name_);
}

void FakeService::release()
{
    connection_.unregisterService(name_);
}

FakeService::Object* FakeService::object(const QString& path)
{
    auto& object = objects_[path];
    if (!object) {
        object = std::make_shared<Object>(this);
        connection_.registerVirtualObject(path, object.get());
    }
    return object.get();
}

void FakeService::setMethod(const QString& path, const QString& member, Method method)
{
    object(path)->methods.insert(member, std::move(method));
}

void FakeService::setProperty(const QString& path, const QString& interface, const QString& name,
                              const QVariant& value)
{
    object(path)->properties.insert(interface + u'.' + name, value);
}

void FakeService::changeProperty(const QString& path, const QString& interface, const QString& name,
                                 const QVariant& value)
{
    setProperty(path, interface, name, value);
    emitSignal(path, QStringLiteral("org.freedesktop.DBus.Properties"),
               QStringLiteral("PropertiesChanged"),
               {interface, QVariantMap{{name, value}}, QStringList()});
}

void FakeService::emitSignal(const QString& path, const QString& interface, const QString& member,
                             const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createSignal(path, interface, member);
    message.setArguments(arguments);
    connection_.send(message);
}
