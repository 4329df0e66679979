// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SleepWake.h"

#include "platform/linux/DBusCalls.h"

#include <QDBusServiceWatcher>
#include <QDBusUnixFileDescriptor>

#include <time.h>

#include <optional>

// logind announces sleep with PrepareForSleep(true) and waits for the holders of "delay"
// inhibitors to close them (at most InhibitDelayMaxSec, 5 s by default); PrepareForSleep(false)
// follows the resume. Without logind, the one clock that keeps running in suspend tells
// afterwards: CLOCK_BOOTTIME counts suspended time, CLOCK_MONOTONIC does not.
namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

constexpr double kMissedSleepSeconds = 30;

double suspendedSinceBoot()
{
    timespec boot{}, monotonic{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    clock_gettime(CLOCK_MONOTONIC, &monotonic);
    return double(boot.tv_sec - monotonic.tv_sec) + double(boot.tv_nsec - monotonic.tv_nsec) / 1e9;
}

} // namespace

struct SleepWake::Impl
{
    SleepWake* q = nullptr;
    std::function<double()> suspended;
    QDBusConnection system = QDBusConnection::systemBus();
    bool logindPresent = false;
    bool inhibitorPending = false;
    QDBusUnixFileDescriptor inhibitor;
    std::optional<double> suspendedAtSleep; // set between will-sleep and did-wake
    double suspendedAtCheck = 0;

    void start()
    {
        suspendedAtCheck = suspended();
        if (!system.isConnected())
            return;
        auto* watcher =
            new QDBusServiceWatcher(kLogind, system, QDBusServiceWatcher::WatchForOwnerChange, q);
        QObject::connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, q,
                         [this](const QString&, const QString&, const QString& owner) {
                             logindPresent = !owner.isEmpty();
                             if (logindPresent)
                                 takeInhibitor();
                         });
        new DBusSignal(
            system, kLogind, kLogindPath, kManager, QStringLiteral("PrepareForSleep"),
            [this](const QDBusMessage& message) {
                if (!message.arguments().isEmpty())
                    prepareForSleep(message.arguments().constFirst().toBool());
            },
            q);
        QDBusMessage hasOwner = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
        hasOwner << kLogind;
        DBusCalls::callAsync(system, hasOwner, q, [this](const QDBusMessage& reply) {
            if (DBusCalls::isReply(reply) && reply.arguments().constFirst().toBool()) {
                logindPresent = true;
                takeInhibitor();
            }
        });
    }

    void takeInhibitor()
    {
        if (inhibitorPending || inhibitor.isValid() || suspendedAtSleep)
            return;
        inhibitorPending = true;
        QDBusMessage inhibit = QDBusMessage::createMethodCall(kLogind, kLogindPath, kManager,
                                                              QStringLiteral("Inhibit"));
        inhibit << QStringLiteral("sleep") << QStringLiteral("tockwork")
                << QStringLiteral("잠들기 전에 오늘 기록을 정리해요") << QStringLiteral("delay");
        DBusCalls::callAsync(system, inhibit, q, [this](const QDBusMessage& reply) {
            inhibitorPending = false;
            // One that arrives while the machine is already going to sleep would only hold it up.
            if (!DBusCalls::isReply(reply) || suspendedAtSleep)
                return;
            inhibitor = reply.arguments().constFirst().value<QDBusUnixFileDescriptor>();
        });
    }

    void prepareForSleep(bool sleeping)
    {
        if (sleeping) {
            if (suspendedAtSleep)
                return;
            suspendedAtSleep = suspended();
            Q_EMIT q->willSleep();
            // Closing the descriptor tells logind that this process is ready for the sleep.
            inhibitor = QDBusUnixFileDescriptor();
            return;
        }
        const double now = suspended();
        const double slept = suspendedAtSleep ? now - *suspendedAtSleep : 0;
        suspendedAtSleep.reset();
        suspendedAtCheck = now;
        takeInhibitor();
        Q_EMIT q->didWake(slept);
    }
};

SleepWake::SleepWake(QObject* parent) : SleepWake(suspendedSinceBoot, parent)
{}

SleepWake::SleepWake(std::function<double()> suspendedSeconds, QObject* parent)
    : QObject(parent), d(std::make_unique<Impl>())
{
    d->q = this;
    d->suspended = std::move(suspendedSeconds);
    d->start();
}

SleepWake::~SleepWake() = default;

void SleepWake::checkForMissedSleep()
{
    const double now = d->suspended();
    const double gap = now - d->suspendedAtCheck;
    d->suspendedAtCheck = now;
    if (!d->logindPresent && gap >= kMissedSleepSeconds)
        Q_EMIT didWake(gap);
}
