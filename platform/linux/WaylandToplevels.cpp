// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/WaylandToplevels.h"

#include "platform/InstalledApps.h"
#include "platform/linux/DesktopExec.h"
#include "platform/linux/WaylandClient.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTextStream>

#include <wayland-client.h>

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <algorithm>
#include <cstring>
#include <vector>

// A taskbar's view of the compositor: every toplevel comes with its title, application id and
// states, each update closed by `done`, so a window is read only once it is complete. The state
// "activated" marks the window with the keyboard focus; layer surfaces (bars, launchers) are not
// toplevels, so with one of them focused no window is activated.
namespace {

constexpr uint32_t kActivated = ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;

// The program of a desktop entry's Exec key, which the distraction list also matches.
QString entryProgram(const QString& desktopFile)
{
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    bool inMainGroup = false;
    for (int lines = 0; !in.atEnd() && lines < 2000; ++lines) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[')) {
            if (inMainGroup)
                break;
            inMainGroup = line == QLatin1String("[Desktop Entry]");
        } else if (inMainGroup && line.startsWith(QLatin1String("Exec"))) {
            const qsizetype eq = line.indexOf(u'=');
            if (eq > 0 && QStringView(line).left(eq).trimmed() == QLatin1String("Exec"))
                return QFileInfo(DesktopExec::program(line.mid(eq + 1).trimmed())).fileName();
        }
    }
    return {};
}

} // namespace

struct WaylandToplevels::Impl
{
    struct Handle
    {
        Impl* owner = nullptr;
        zwlr_foreign_toplevel_handle_v1* proxy = nullptr;
        Toplevel pending;
        bool pendingActivated = false;
        Toplevel shown; // as of the last `done`
        bool activated = false;
    };

    WaylandToplevels* q = nullptr;
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager = nullptr;
    uint32_t managerName = 0;
    std::vector<std::unique_ptr<Handle>> handles;
    QSocketNotifier* notifier = nullptr;
    std::optional<Toplevel> front;

    ~Impl()
    {
        delete notifier; // before its socket closes
        for (const auto& handle : handles)
            zwlr_foreign_toplevel_handle_v1_destroy(handle->proxy);
        if (manager)
            zwlr_foreign_toplevel_manager_v1_destroy(manager);
        if (registry)
            wl_registry_destroy(registry);
        if (display)
            wl_display_disconnect(display);
    }

    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t)
    {
        auto* self = static_cast<Impl*>(data);
        if (self->manager ||
            std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) != 0)
            return;
        // Version 1 holds all that is read here; a higher one would add events unknown to us.
        self->manager = static_cast<zwlr_foreign_toplevel_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface, 1));
        self->managerName = name;
        static const zwlr_foreign_toplevel_manager_v1_listener listener{&Impl::toplevel,
                                                                        &Impl::finished};
        zwlr_foreign_toplevel_manager_v1_add_listener(self->manager, &listener, self);
    }

    static void globalRemove(void* data, wl_registry*, uint32_t name)
    {
        auto* self = static_cast<Impl*>(data);
        if (self->manager && name == self->managerName)
            self->lose();
    }

    static void toplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                         zwlr_foreign_toplevel_handle_v1* proxy)
    {
        auto* self = static_cast<Impl*>(data);
        auto handle = std::make_unique<Handle>();
        handle->owner = self;
        handle->proxy = proxy;
        static const zwlr_foreign_toplevel_handle_v1_listener listener{
            &Impl::title, &Impl::appId, &Impl::output, &Impl::output,
            &Impl::state, &Impl::done,  &Impl::closed};
        zwlr_foreign_toplevel_handle_v1_add_listener(proxy, &listener, handle.get());
        self->handles.push_back(std::move(handle));
    }

    static void finished(void* data, zwlr_foreign_toplevel_manager_v1*)
    {
        static_cast<Impl*>(data)->lose();
    }

    static void title(void* data, zwlr_foreign_toplevel_handle_v1*, const char* title)
    {
        static_cast<Handle*>(data)->pending.title = QString::fromUtf8(title);
    }

    static void appId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* id)
    {
        static_cast<Handle*>(data)->pending.appId = QString::fromUtf8(id);
    }

    static void output(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}

    static void state(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states)
    {
        const auto* begin = static_cast<const uint32_t*>(states->data);
        const auto* end = begin + states->size / sizeof(uint32_t);
        static_cast<Handle*>(data)->pendingActivated = std::find(begin, end, kActivated) != end;
    }

    static void done(void* data, zwlr_foreign_toplevel_handle_v1*)
    {
        auto* handle = static_cast<Handle*>(data);
        handle->shown = handle->pending;
        handle->activated = handle->pendingActivated;
        handle->owner->publish();
    }

    static void closed(void* data, zwlr_foreign_toplevel_handle_v1* proxy)
    {
        auto* handle = static_cast<Handle*>(data);
        Impl* self = handle->owner;
        zwlr_foreign_toplevel_handle_v1_destroy(proxy);
        std::erase_if(self->handles, [handle](const auto& h) { return h.get() == handle; });
        self->publish();
    }

    void publish()
    {
        std::optional<Toplevel> now;
        // The latest window to report the focus wins while another still has to report losing it.
        for (auto it = handles.rbegin(); it != handles.rend(); ++it) {
            if ((*it)->activated) {
                now = (*it)->shown;
                break;
            }
        }
        if (now == front)
            return;
        front = std::move(now);
        Q_EMIT q->changed();
    }

    // The compositor quit or withdrew the list: nothing is known of the front any more.
    void lose()
    {
        if (notifier)
            notifier->setEnabled(false);
        for (const auto& handle : handles)
            zwlr_foreign_toplevel_handle_v1_destroy(handle->proxy);
        handles.clear();
        if (manager)
            zwlr_foreign_toplevel_manager_v1_destroy(manager);
        manager = nullptr;
        publish();
    }

    void readEvents()
    {
        if (manager && !WaylandClient::readEvents(display))
            lose();
    }
};

std::unique_ptr<WaylandToplevels> WaylandToplevels::connectToSession()
{
    wl_display* display = WaylandClient::connectToSession();
    if (!display)
        return nullptr;
    std::unique_ptr<WaylandToplevels> toplevels(new WaylandToplevels);
    Impl& d = *toplevels->d;
    d.display = display;
    d.registry = wl_display_get_registry(d.display);
    static const wl_registry_listener listener{&Impl::global, &Impl::globalRemove};
    wl_registry_add_listener(d.registry, &listener, &d);
    // The globals, then the windows open now with their states.
    if (wl_display_roundtrip(d.display) < 0 || !d.manager || wl_display_roundtrip(d.display) < 0 ||
        !d.manager)
        return nullptr;
    d.notifier =
        new QSocketNotifier(wl_display_get_fd(d.display), QSocketNotifier::Read, toplevels.get());
    connect(d.notifier, &QSocketNotifier::activated, toplevels.get(), [&d] { d.readEvents(); });
    return toplevels;
}

WaylandToplevels::WaylandToplevels() : d(std::make_unique<Impl>())
{
    d->q = this;
}

WaylandToplevels::~WaylandToplevels() = default;

std::optional<WaylandToplevels::Toplevel> WaylandToplevels::activated() const
{
    return d->front;
}

std::optional<FrontWindow> WaylandToplevels::frontWindow(const std::optional<Toplevel>& activated,
                                                         const std::optional<FrontWindow>& x11)
{
    if (!activated)
        return std::nullopt;
    const QString& id = activated->appId;
    if (x11 && !id.isEmpty() &&
        (id.compare(x11->windowClass, Qt::CaseInsensitive) == 0 ||
         id.compare(x11->instance, Qt::CaseInsensitive) == 0))
        return x11;
    FrontWindow native;
    native.windowClass = id;
    // A reverse-DNS id ("org.gnome.Nautilus") names its application in its last part, as an X11
    // instance names it beside the class.
    if (id.contains(u'.'))
        native.instance = id.section(u'.', -1);
    native.title = activated->title;
    if (id.isEmpty())
        return native;
    auto entry = findInstalledAppForWindow(id, native.instance, id);
    if (!entry)
        entry = findInstalledApp(id);
    if (entry) {
        native.appName = entry->displayName;
        native.desktopFile = entry->desktopFile;
        // No process is known for a Wayland window: the program its entry starts stands in.
        native.executable = entryProgram(entry->desktopFile);
    }
    return native;
}
