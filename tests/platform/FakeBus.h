// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QHash>
#include <QVariant>

#include <functional>
#include <memory>

// A desktop service that cannot run here (logind, a screensaver, GNOME's idle monitor), played on
// the private bus by a connection of its own, as a separate process would. Methods and properties
// are whatever a test gives it; unknown calls get the error a real service would send.
class FakeService final
{
public:
    enum class Bus
    {
        session,
        system
    };
    using Method = std::function<QDBusMessage(const QDBusMessage& call)>;

    FakeService(Bus bus, const QString& name);
    ~FakeService();

    // Takes the service's name on the bus (done by the constructor) or gives it up.
    bool own();
    void release();

    // `member` of any interface at `path`.
    void setMethod(const QString& path, const QString& member, Method method);
    // A property served through org.freedesktop.DBus.Properties.Get.
    void setProperty(const QString& path, const QString& interface, const QString& name,
                     const QVariant& value);
    // Changes a property and announces it with PropertiesChanged, as logind does.
    void changeProperty(const QString& path, const QString& interface, const QString& name,
                        const QVariant& value);
    void emitSignal(const QString& path, const QString& interface, const QString& member,
                    const QVariantList& arguments);

    // Calls received, by member name.
    int calls(const QString& member) const { return calls_.value(member); }
    QDBusConnection connection() const { return connection_; }

private:
    class Object;
    Object* object(const QString& path);

    QString name_;
    QString connectionName_;
    QDBusConnection connection_;
    QHash<QString, std::shared_ptr<Object>> objects_;
    QHash<QString, int> calls_;
};
