// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleInstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

// Two ways to find the first instance. A lock file in the user's runtime folder, held with flock
// for the life of the process: the kernel drops the lock when the process ends, however it ends,
// so a crashed instance leaves a file that blocks nothing. It covers every start of the same
// user, since the store and the analytics queue are the user's, not the session's. And a
// well-known name on the session bus, whose owner answers Activate so a later start can hand
// over to it.
namespace {

const QString kService = QStringLiteral("org.tockwork.TockWork");
const QString kPath = QStringLiteral("/org/tockwork/TockWork");
const QString kInterface = QStringLiteral("org.tockwork.TockWork");

class Activation final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tockwork.TockWork")
public:
    explicit Activation(SingleInstance* owner) : QObject(owner), owner_(owner) {}

public Q_SLOTS:
    Q_SCRIPTABLE void Activate() { Q_EMIT owner_->activationRequested(); }

private:
    SingleInstance* owner_;
};

} // namespace

struct SingleInstance::Impl
{
    int lockFd = -1;
    bool ownsName = false;
    Activation* activation = nullptr;

    ~Impl() { releaseLock(); }

    // False only when another process holds the lock; a lock that cannot be made decides nothing.
    bool takeLock()
    {
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (dir.isEmpty())
            return true;
        const QByteArray path = QFile::encodeName(dir + QLatin1String("/tockwork.lock"));
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return true;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool heldElsewhere = errno == EWOULDBLOCK;
            ::close(fd);
            return !heldElsewhere;
        }
        lockFd = fd;
        // The holder's pid, for a person looking; the lock itself is what counts.
        const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
        const bool noted = ::ftruncate(fd, 0) == 0 &&
                           ::write(fd, pid.constData(), size_t(pid.size())) == pid.size();
        Q_UNUSED(noted);
        return true;
    }

    void releaseLock()
    {
        if (lockFd >= 0)
            ::close(lockFd);
        lockFd = -1;
    }
};

SingleInstance::SingleInstance(QObject* parent) : QObject(parent), d(std::make_unique<Impl>())
{}

SingleInstance::~SingleInstance()
{
    if (d->ownsName) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(kPath);
        bus.unregisterService(kService);
    }
}

bool SingleInstance::claim()
{
    if (d->lockFd >= 0 || d->ownsName)
        return true;
    if (!d->takeLock())
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return true;
    if (!d->activation)
        d->activation = new Activation(this);
    bus.registerObject(kPath, d->activation, QDBusConnection::ExportScriptableSlots);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(kService, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceNotRegistered) {
        bus.unregisterObject(kPath);
        d->releaseLock();
        return false;
    }
    d->ownsName = reply.isValid();
    return true;
}

bool SingleInstance::activateRunningInstance()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Activate"));
    call.setAutoStartService(false);
    // A start that found another instance waits briefly for it, then exits either way.
    return bus.call(call, QDBus::Block, 3000).type() == QDBusMessage::ReplyMessage;
}

#include "SingleInstance.moc"
