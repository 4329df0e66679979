// A minimal StatusNotifierItem tray host for measuring and testing on a private session bus: it
// owns org.kde.StatusNotifierWatcher, accepts item registrations and, like a panel, fetches the
// icon's pixels after every NewIcon signal. Prints "registered <service>" and, on exit (SIGTERM),
// "fetches <n> bytes <m>".

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QSocketNotifier>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

int g_signalPipe[2];

class Watcher final : public QObject
{
    Q_OBJECT
public:
    void registerItem(const QString& serviceOrPath, const QString& sender)
    {
        // Items pass either their bus name or an object path on the sender's connection.
        const QString service = serviceOrPath.startsWith('/') ? sender : serviceOrPath;
        items_.append(service);
        std::printf("registered %s\n", qPrintable(service));
        std::fflush(stdout);
        QDBusConnection::sessionBus().connect(service, QString(),
                                              QStringLiteral("org.kde.StatusNotifierItem"),
                                              QStringLiteral("NewIcon"), this, SLOT(newIcon()));
        fetch(service);
    }

    QStringList items() const { return items_; }
    int fetches = 0;
    qint64 bytes = 0;

public Q_SLOTS:
    void newIcon()
    {
        for (const QString& service : items_)
            fetch(service);
    }

private:
    void fetch(const QString& service)
    {
        QDBusMessage get = QDBusMessage::createMethodCall(
            service, QStringLiteral("/StatusNotifierItem"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("IconPixmap");
        auto* call =
            new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
        connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
            const QDBusMessage reply = w->reply();
            if (reply.type() == QDBusMessage::ReplyMessage) {
                ++fetches;
                // Walk the a(iiay) like a host that draws it.
                const QDBusArgument arg = reply.arguments()
                                              .value(0)
                                              .value<QDBusVariant>()
                                              .variant()
                                              .value<QDBusArgument>();
                arg.beginArray();
                while (!arg.atEnd()) {
                    int w = 0, h = 0;
                    QByteArray data;
                    arg.beginStructure();
                    arg >> w >> h >> data;
                    arg.endStructure();
                    bytes += data.size();
                }
                arg.endArray();
            }
            w->deleteLater();
        });
    }

    QStringList items_;
};

class WatcherAdaptor final : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
public:
    explicit WatcherAdaptor(Watcher* watcher) : QDBusAbstractAdaptor(watcher), watcher_(watcher) {}
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList registeredItems() const { return watcher_->items(); }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message)
    {
        watcher_->registerItem(service, message.service());
    }
    void RegisterStatusNotifierHost(const QString&) {}

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    Watcher* watcher_;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Watcher watcher;
    new WatcherAdaptor(&watcher);
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "sni-host: cannot own org.kde.StatusNotifierWatcher\n");
        return 1;
    }
    if (::pipe(g_signalPipe) != 0)
        return 1;
    std::signal(SIGTERM, [](int) { [[maybe_unused]] auto n = ::write(g_signalPipe[1], "x", 1); });
    std::signal(SIGINT, [](int) { [[maybe_unused]] auto n = ::write(g_signalPipe[1], "x", 1); });
    QSocketNotifier quit(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&quit, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::printf("ready\n");
    std::fflush(stdout);
    const int status = app.exec();
    std::printf("fetches %d bytes %lld\n", watcher.fetches, static_cast<long long>(watcher.bytes));
    return status;
}

#include "SniHost.moc"
