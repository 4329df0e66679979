// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/WaylandIdle.h"

#include "platform/linux/WaylandClient.h"

#include <QElapsedTimer>
#include <QSocketNotifier>

#include <wayland-client.h>

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"

#include <cstring>

struct WaylandIdle::Impl
{
    WaylandIdle* q = nullptr;
    std::chrono::milliseconds notifyAfter{};
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    QSocketNotifier* notifier = nullptr;

    // Globals seen in the first roundtrip, bound once it is known which protocol there is.
    uint32_t seatName = 0;
    uint32_t extName = 0;
    uint32_t kdeName = 0;

    wl_seat* seat = nullptr;
    ext_idle_notifier_v1* extNotifier = nullptr;
    ext_idle_notification_v1* extNotification = nullptr;
    org_kde_kwin_idle* kdeIdle = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout = nullptr;

    bool lost = false;
    bool idle = false;
    QElapsedTimer idledAt;

    ~Impl()
    {
        delete notifier; // before its socket closes
        release();
        if (registry)
            wl_registry_destroy(registry);
        if (display)
            wl_display_disconnect(display);
    }

    void release()
    {
        if (extNotification)
            ext_idle_notification_v1_destroy(extNotification);
        if (extNotifier)
            ext_idle_notifier_v1_destroy(extNotifier);
        if (kdeTimeout)
            org_kde_kwin_idle_timeout_release(kdeTimeout);
        if (kdeIdle)
            org_kde_kwin_idle_destroy(kdeIdle);
        if (seat)
            wl_seat_destroy(seat);
        extNotification = nullptr;
        extNotifier = nullptr;
        kdeTimeout = nullptr;
        kdeIdle = nullptr;
        seat = nullptr;
    }

    static void global(void* data, wl_registry*, uint32_t name, const char* interface, uint32_t)
    {
        auto* self = static_cast<Impl*>(data);
        // The first seat: a desktop with several is a multi-seat machine, whose first is the
        // user's own.
        if (!self->seatName && std::strcmp(interface, wl_seat_interface.name) == 0)
            self->seatName = name;
        else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0)
            self->extName = name;
        else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0)
            self->kdeName = name;
    }

    static void globalRemove(void* data, wl_registry*, uint32_t name)
    {
        auto* self = static_cast<Impl*>(data);
        if (!self->seat)
            return;
        if (name == self->seatName || (self->extNotifier && name == self->extName) ||
            (self->kdeIdle && name == self->kdeName))
            self->lose();
    }

    static void idled(void* data) { static_cast<Impl*>(data)->setIdle(true); }
    static void resumed(void* data) { static_cast<Impl*>(data)->setIdle(false); }
    static void extIdled(void* data, ext_idle_notification_v1*) { idled(data); }
    static void extResumed(void* data, ext_idle_notification_v1*) { resumed(data); }
    static void kdeIdled(void* data, org_kde_kwin_idle_timeout*) { idled(data); }
    static void kdeResumed(void* data, org_kde_kwin_idle_timeout*) { resumed(data); }

    void setIdle(bool now)
    {
        if (now == idle)
            return;
        idle = now;
        if (idle)
            idledAt.start();
        Q_EMIT q->idleChanged(idle);
    }

    // Version 1 of each holds all that is read here.
    bool bind()
    {
        if (!seatName || (!extName && !kdeName))
            return false;
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, seatName, &wl_seat_interface, 1));
        const auto timeout = uint32_t(notifyAfter.count());
        if (extName) {
            extNotifier = static_cast<ext_idle_notifier_v1*>(
                wl_registry_bind(registry, extName, &ext_idle_notifier_v1_interface, 1));
            extNotification =
                ext_idle_notifier_v1_get_idle_notification(extNotifier, timeout, seat);
            static const ext_idle_notification_v1_listener listener{&Impl::extIdled,
                                                                    &Impl::extResumed};
            ext_idle_notification_v1_add_listener(extNotification, &listener, this);
        } else {
            kdeIdle = static_cast<org_kde_kwin_idle*>(
                wl_registry_bind(registry, kdeName, &org_kde_kwin_idle_interface, 1));
            kdeTimeout = org_kde_kwin_idle_get_idle_timeout(kdeIdle, seat, timeout);
            static const org_kde_kwin_idle_timeout_listener listener{&Impl::kdeIdled,
                                                                     &Impl::kdeResumed};
            org_kde_kwin_idle_timeout_add_listener(kdeTimeout, &listener, this);
        }
        return true;
    }

    // The compositor quit or withdrew the seat or the protocol: nothing is known any more.
    void lose()
    {
        if (lost)
            return;
        lost = true;
        if (notifier)
            notifier->setEnabled(false);
        release();
    }

    void readEvents()
    {
        if (!lost && !WaylandClient::readEvents(display))
            lose();
    }
};

std::unique_ptr<WaylandIdle> WaylandIdle::connectToSession(std::chrono::milliseconds notifyAfter)
{
    wl_display* display = WaylandClient::connectToSession();
    if (!display)
        return nullptr;
    std::unique_ptr<WaylandIdle> idle(new WaylandIdle);
    Impl& d = *idle->d;
    d.notifyAfter = notifyAfter;
    d.display = display;
    d.registry = wl_display_get_registry(d.display);
    static const wl_registry_listener listener{&Impl::global, &Impl::globalRemove};
    wl_registry_add_listener(d.registry, &listener, &d);
    // The globals, then the notification made, so that a compositor that refuses it (a protocol
    // error) is found out here.
    if (wl_display_roundtrip(d.display) < 0 || !d.bind() || wl_display_roundtrip(d.display) < 0)
        return nullptr;
    d.notifier =
        new QSocketNotifier(wl_display_get_fd(d.display), QSocketNotifier::Read, idle.get());
    connect(d.notifier, &QSocketNotifier::activated, idle.get(), [&d] { d.readEvents(); });
    return idle;
}

WaylandIdle::WaylandIdle() : d(std::make_unique<Impl>())
{
    d->q = this;
}

WaylandIdle::~WaylandIdle() = default;

std::optional<double> WaylandIdle::seconds() const
{
    if (d->lost)
        return std::nullopt;
    if (!d->idle)
        return 0.0;
    const double quietBefore = std::chrono::duration<double>(d->notifyAfter).count();
    return quietBefore + double(d->idledAt.elapsed()) / 1000.0;
}

QString WaylandIdle::protocol() const
{
    if (d->extNotification)
        return QString::fromLatin1(ext_idle_notifier_v1_interface.name);
    if (d->kdeTimeout)
        return QString::fromLatin1(org_kde_kwin_idle_interface.name);
    return {};
}
