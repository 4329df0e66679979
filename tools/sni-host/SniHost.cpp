// SPDX-License-Identifier: GPL-3.0-or-later
// A minimal StatusNotifierItem tray host for measuring and testing on a private session bus: it
// owns org.kde.StatusNotifierWatcher, accepts item registrations and, like a panel, fetches the
// icon's pixels after every NewIcon signal. Prints "registered <service>", "fetched <bytes>" after
// the first fetch of each registration and, on exit (SIGTERM), "fetches <n> bytes <m>".

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QSocketNotifier>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <unistd.h>
#include <utility>

namespace {

int g_signalPipe[2];

class Watcher final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered MEMBER hostRegistered)
    Q_PROPERTY(int ProtocolVersion MEMBER protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems MEMBER items)
public:
    bool hostRegistered = true;
    int protocolVersion = 0;
    QStringList items;
    int fetches = 0;
    qint64 bytes = 0;
    bool firstFetch = false;

public Q_SLOTS:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& serviceOrPath,
                                                 const QDBusMessage& message)
    {
        // Items pass either their bus name or an object path on the sender's connection.
        const QString service = serviceOrPath.startsWith('/') ? message.service() : serviceOrPath;
        items.append(service);
        std::printf("registered %s\n", qPrintable(service));
        std::fflush(stdout);
        QDBusConnection::sessionBus().connect(service, QString(),
                                              QStringLiteral("org.kde.StatusNotifierItem"),
                                              QStringLiteral("NewIcon"), this, SLOT(newIcon()));
        firstFetch = true;
        fetch(service);
    }
    Q_SCRIPTABLE void RegisterStatusNotifierHost(const QString&) {}

    void newIcon()
    {
        for (const QString& service : items)
            fetch(service);
    }

    // Walks the a(iiay) like a host that draws it.
    void fetched(const QDBusMessage& reply)
    {
        ++fetches;
        const auto arg =
            reply.arguments().value(0).value<QDBusVariant>().variant().value<QDBusArgument>();
        int w = 0, h = 0;
        QByteArray data;
        for (arg.beginArray(); !arg.atEnd(); bytes += data.size()) {
            arg.beginStructure();
            arg >> w >> h >> data;
            arg.endStructure();
        }
        arg.endArray();
        if (std::exchange(firstFetch, false)) {
            std::printf("fetched %lld\n", static_cast<long long>(bytes));
            std::fflush(stdout);
        }
    }

private:
    void fetch(const QString& service)
    {
        QDBusMessage get = QDBusMessage::createMethodCall(
            service, QStringLiteral("/StatusNotifierItem"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("IconPixmap");
        QDBusConnection::sessionBus().callWithCallback(get, this, SLOT(fetched(QDBusMessage)));
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Watcher watcher;
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                            QDBusConnection::ExportScriptableSlots |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "sni-host: cannot own org.kde.StatusNotifierWatcher\n");
        return 1;
    }
    if (::pipe(g_signalPipe) != 0)
        return 1;
    for (int signal : {SIGTERM, SIGINT})
        std::signal(signal,
                    [](int) { [[maybe_unused]] auto n = ::write(g_signalPipe[1], "x", 1); });
    QSocketNotifier quit(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&quit, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::printf("ready\n");
    std::fflush(stdout);
    const int status = app.exec();
    std::printf("fetches %d bytes %lld\n", watcher.fetches, static_cast<long long>(watcher.bytes));
    return status;
}

#include "SniHost.moc"
