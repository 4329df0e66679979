// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/KWinScript.h"

#include "platform/linux/DBusCalls.h"
#include "platform/linux/WaylandToplevels.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QFileInfo>

#include <functional>

// KWin's scripting service: loadScript(file, name) gives the script an id, and the script object
// at "/Scripting/Script<id>" (later KWin) or "/<id>" (KWin 5.27 of Debian 12) starts it with
// run(). A name can be loaded only once, so a script left behind by a TockWork that crashed is
// unloaded first: it reports to the same bus name, but only a fresh one reports the window active
// now.
namespace {

const QString kKWin = QStringLiteral("org.kde.KWin");
const QString kScripting = QStringLiteral("/Scripting");
const QString kScriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
const QString kScriptInterface = QStringLiteral("org.kde.kwin.Script");

QDBusMessage scriptingCall(const QString& method)
{
    return QDBusMessage::createMethodCall(kKWin, kScripting, kScriptingInterface, method);
}

} // namespace

const QString KWinScript::kService = QStringLiteral("org.tockwork.TockWork.FrontWindow");
const QString KWinScript::kPath = QStringLiteral("/FrontWindow");
const QString KWinScript::kPluginName = QStringLiteral("tockwork-front-window");

// The object the script calls: its methods are the script's two reports.
class FrontWindowReceiver final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tockwork.FrontWindow")
public:
    using Report = std::function<void(std::optional<KWinScript::Window>)>;
    FrontWindowReceiver(Report report, QObject* parent)
        : QObject(parent), report_(std::move(report))
    {}

public Q_SLOTS:
    // All as text: KWin hands a script's numbers to the bus as whatever type it likes.
    Q_SCRIPTABLE void WindowActivated(const QString& resourceClass, const QString& resourceName,
                                      const QString& desktopFileName, const QString& caption,
                                      const QString& pid)
    {
        KWinScript::Window window{resourceClass, resourceName, desktopFileName, caption,
                                  qMax<qint64>(0, pid.toLongLong())};
        report_(std::move(window));
    }
    Q_SCRIPTABLE void NothingActivated() { report_(std::nullopt); }

private:
    Report report_;
};

struct KWinScript::Impl
{
    KWinScript* q = nullptr;
    QDBusConnection bus = QDBusConnection::sessionBus();
    QString scriptFile;
    bool loaded = false;    // KWin holds our script under kPluginName
    bool reporting = false; // and it has reported since
    std::optional<Window> active;
    int generation = 0; // KWin's starts seen: replies for a KWin gone since are dropped

    void call(QDBusMessage message, std::function<void(const QDBusMessage&)> done)
    {
        DBusCalls::callAsync(
            bus, std::move(message), q,
            [this, generation = generation, done = std::move(done)](const QDBusMessage& reply) {
                if (generation == this->generation)
                    done(reply);
            });
    }

    void load()
    {
        QDBusMessage unload = scriptingCall(QStringLiteral("unloadScript"));
        unload << kPluginName;
        call(unload, [this](const QDBusMessage&) {
            QDBusMessage loadScript = scriptingCall(QStringLiteral("loadScript"));
            loadScript << scriptFile << kPluginName;
            call(loadScript, [this](const QDBusMessage& reply) {
                // An error (no scripting here) or -1 (the name is taken after all) leaves the
                // front to X11.
                if (!DBusCalls::isReply(reply) || reply.arguments().constFirst().toInt() < 0)
                    return;
                loaded = true;
                run(reply.arguments().constFirst().toInt(), true);
            });
        });
    }

    void run(int id, bool kwin6Path)
    {
        const QString path = kwin6Path ? QStringLiteral("/Scripting/Script%1").arg(id)
                                       : QStringLiteral("/%1").arg(id);
        call(QDBusMessage::createMethodCall(kKWin, path, kScriptInterface, QStringLiteral("run")),
             [this, id, kwin6Path](const QDBusMessage& reply) {
                 if (reply.type() == QDBusMessage::ErrorMessage && kwin6Path)
                     run(id, false);
             });
    }

    void report(std::optional<Window> window)
    {
        if (reporting && window == active)
            return;
        reporting = true;
        active = std::move(window);
        Q_EMIT q->changed();
    }

    // KWin quit or crashed: its scripts went with it.
    void lose()
    {
        ++generation;
        loaded = false;
        const bool was = reporting;
        reporting = false;
        active.reset();
        if (was)
            Q_EMIT q->changed();
    }
};

KWinScript::KWinScript(const QString& scriptFile) : d(std::make_unique<Impl>())
{
    d->q = this;
    d->scriptFile = QFileInfo(scriptFile).absoluteFilePath();
}

std::unique_ptr<KWinScript> KWinScript::loadIntoSession(const QString& scriptFile)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    // On X11 the X server names every window, KWin's native ones too: no need to load code into
    // the user's window manager.
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || scriptFile.isEmpty() ||
        !QFileInfo(scriptFile).isReadable() || !bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(kKWin))
        return nullptr;
    std::unique_ptr<KWinScript> script(new KWinScript(scriptFile));
    Impl* d = script->d.get();
    auto* receiver = new FrontWindowReceiver(
        [d](std::optional<Window> window) { d->report(std::move(window)); }, script.get());
    if (!bus.registerObject(kPath, receiver, QDBusConnection::ExportScriptableSlots))
        return nullptr;
    // Another TockWork receives the reports already: its script is left alone.
    if (bus.interface()->registerService(kService, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement) !=
        QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(kPath);
        return nullptr;
    }
    auto* watcher =
        new QDBusServiceWatcher(kKWin, bus, QDBusServiceWatcher::WatchForOwnerChange, script.get());
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, script.get(),
            [d](const QString&, const QString& oldOwner, const QString& newOwner) {
                if (!oldOwner.isEmpty())
                    d->lose();
                if (!newOwner.isEmpty())
                    d->load();
            });
    d->load();
    return script;
}

KWinScript::~KWinScript()
{
    if (d->loaded) {
        // At quit: waited for briefly, so the call leaves before the process ends.
        QDBusMessage unload = scriptingCall(QStringLiteral("unloadScript"));
        unload << kPluginName;
        unload.setAutoStartService(false);
        d->bus.call(unload, QDBus::Block, 1000);
    }
    d->bus.unregisterService(kService);
    d->bus.unregisterObject(kPath);
}

QString KWinScript::shippedScript()
{
    const QDir dir(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {dir.filePath(QStringLiteral("share/tockwork/kwin/front-window.js")),
          dir.filePath(QStringLiteral("../share/tockwork/kwin/front-window.js")),
          dir.filePath(QStringLiteral("../../share/tockwork/kwin/front-window.js"))}) {
        if (QFileInfo::exists(candidate))
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

bool KWinScript::reporting() const
{
    return d->reporting;
}

std::optional<KWinScript::Window> KWinScript::active() const
{
    return d->active;
}

std::optional<FrontWindow> KWinScript::frontWindow(const std::optional<Window>& active,
                                                   const std::optional<FrontWindow>& x11)
{
    if (!active)
        return std::nullopt;
    // KWin lowercases an XWayland window's class; the match with X11's is blind to case.
    auto window = WaylandToplevels::frontWindow(
        WaylandToplevels::Toplevel{active->resourceClass, active->caption}, x11);
    if (!window || window == x11)
        return window;
    window->pid = active->pid;
    if (window->instance.isEmpty() && active->resourceName != active->resourceClass)
        window->instance = active->resourceName;
    // KWin also knows the entry of a window whose class names none (GTK's application id on an
    // X11 window, a sandbox's app id): that entry names the app then.
    if (window->desktopFile.isEmpty() && !active->desktopFileName.isEmpty() &&
        active->desktopFileName.compare(active->resourceClass, Qt::CaseInsensitive) != 0) {
        const auto byEntry = WaylandToplevels::frontWindow(
            WaylandToplevels::Toplevel{active->desktopFileName, QString()}, std::nullopt);
        window->appName = byEntry->appName;
        window->desktopFile = byEntry->desktopFile;
        window->executable = byEntry->executable;
    }
    return window;
}

#include "KWinScript.moc"
