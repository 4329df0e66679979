// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/GnomeShellWindows.h"

#include "platform/linux/DBusCalls.h"
#include "platform/linux/WaylandToplevels.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// A Changed signal or the reply to Get: (wm_class, instance, app_id, title, pid). Anything else
// (an older or foreign service under our name) is no report.
std::optional<GnomeShellWindows::Focused> focusedOf(const QDBusMessage& message)
{
    const QList<QVariant> args = message.arguments();
    if (message.type() == QDBusMessage::ErrorMessage || args.size() != 5)
        return std::nullopt;
    for (int i = 0; i < 4; ++i) {
        if (args[i].metaType() != QMetaType::fromType<QString>())
            return std::nullopt;
    }
    if (args[4].metaType() != QMetaType::fromType<uint>())
        return std::nullopt;
    return GnomeShellWindows::Focused{args[0].toString(), args[1].toString(), args[2].toString(),
                                      args[3].toString(), args[4].toUInt()};
}

QString executableOf(quint32 pid)
{
    if (pid == 0)
        return {};
    const QString exe = QFileInfo(u"/proc/%1/exe"_s.arg(pid)).symLinkTarget();
    if (!exe.isEmpty())
        return QFileInfo(exe).fileName();
    QFile comm(u"/proc/%1/comm"_s.arg(pid));
    if (comm.open(QIODevice::ReadOnly))
        return QString::fromUtf8(comm.readAll()).trimmed();
    return {};
}

} // namespace

struct GnomeShellWindows::Impl
{
    QDBusConnection bus{QString()};
    bool wayland = false;
    bool present = false;
    std::optional<FrontWindow> front;
    // A late answer to Get must not overwrite a Changed signal that overtook it.
    quint64 generation = 0;
};

GnomeShellWindows::GnomeShellWindows() : d(std::make_unique<Impl>())
{}
GnomeShellWindows::~GnomeShellWindows() = default;

std::unique_ptr<GnomeShellWindows> GnomeShellWindows::connectTo(QDBusConnection bus, bool wayland)
{
    QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    const QString name = QString::fromLatin1(kBusName);
    if (!daemon || (!daemon->isServiceRegistered(u"org.gnome.Shell"_s).value() &&
                    !daemon->isServiceRegistered(name).value()))
        return nullptr;
    std::unique_ptr<GnomeShellWindows> windows(new GnomeShellWindows);
    GnomeShellWindows* self = windows.get();
    self->d->bus = bus;
    self->d->wayland = wayland;

    const auto apply = [self](const std::optional<FrontWindow>& front) {
        if (front == self->d->front)
            return;
        self->d->front = front;
        Q_EMIT self->changed();
    };
    const auto ask = [self, apply] {
        const quint64 asked = self->d->generation;
        DBusCalls::callAsync(self->d->bus,
                             QDBusMessage::createMethodCall(
                                 QString::fromLatin1(kBusName), QString::fromLatin1(kObjectPath),
                                 QString::fromLatin1(kInterface), u"Get"_s),
                             self, [self, apply, asked](const QDBusMessage& reply) {
                                 const auto focused = focusedOf(reply);
                                 if (focused && asked == self->d->generation && self->d->present)
                                     apply(frontWindow(*focused));
                             });
    };
    new DBusSignal(
        bus, name, QString::fromLatin1(kObjectPath), QString::fromLatin1(kInterface), u"Changed"_s,
        [self, apply](const QDBusMessage& message) {
            if (const auto focused = focusedOf(message)) {
                ++self->d->generation;
                apply(frontWindow(*focused));
            }
        },
        self);
    auto* watcher =
        new QDBusServiceWatcher(name, bus, QDBusServiceWatcher::WatchForOwnerChange, self);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, self,
            [self, ask](const QString&, const QString&, const QString& newOwner) {
                self->d->present = !newOwner.isEmpty();
                ++self->d->generation;
                self->d->front.reset();
                Q_EMIT self->changed(); // the source itself changed
                if (self->d->present)
                    ask();
            });
    self->d->present = daemon->isServiceRegistered(name).value();
    if (self->d->present)
        ask();
    return windows;
}

std::unique_ptr<GnomeShellWindows> GnomeShellWindows::connectToSession()
{
    // Under GNOME on X11 the X server names every window; the extension only adds to that.
    return connectTo(QDBusConnection::sessionBus(),
                     !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
}

bool GnomeShellWindows::extensionPresent() const
{
    return d->present;
}

std::optional<FrontWindow> GnomeShellWindows::front() const
{
    return d->front;
}

FrontSource GnomeShellWindows::source(FrontSource otherwise) const
{
    if (d->present)
        return FrontSource::gnomeExtension;
    return d->wayland ? FrontSource::gnomeExtensionMissing : otherwise;
}

std::optional<FrontWindow> GnomeShellWindows::frontWindow(const Focused& focused)
{
    QString entryId = focused.appId;
    if (entryId.endsWith(u".desktop"_s))
        entryId.chop(8);
    if (focused.wmClass.isEmpty() && entryId.isEmpty())
        return std::nullopt;
    // Mutter gives a native window's app id as its class, so it is found as on other Wayland
    // desktops; the tracker's id names the entry outright where the class names none.
    auto window = WaylandToplevels::frontWindow(
        WaylandToplevels::Toplevel{focused.wmClass.isEmpty() ? entryId : focused.wmClass,
                                   focused.title},
        std::nullopt);
    if (window->desktopFile.isEmpty() && !entryId.isEmpty() && entryId != window->windowClass) {
        const auto tracked =
            WaylandToplevels::frontWindow(WaylandToplevels::Toplevel{entryId, {}}, std::nullopt);
        window->appName = tracked->appName;
        window->desktopFile = tracked->desktopFile;
        window->executable = tracked->executable;
    }
    if (!focused.instance.isEmpty() && focused.instance != focused.wmClass)
        window->instance = focused.instance;
    if (focused.pid) {
        window->pid = focused.pid;
        if (const QString exe = executableOf(focused.pid); !exe.isEmpty())
            window->executable = exe;
    }
    return window;
}
