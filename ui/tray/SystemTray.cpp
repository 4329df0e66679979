// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/TrayPlatform.h"

#include "platform/TrayHosts.h"
#include "ui/tray/StatusNotifierItem.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

// StatusNotifierItem hosts fetch the whole pixmap over D-Bus after every change: a tenth of a
// second per picture costs the desktop about 2 % of a core; a quarter, the art's own pace for the
// working ant, stays under 1 %. XEmbed trays only see our own window repaint and take any rate.
constexpr double kStatusNotifierMinInterval = 0.25;

// Panels that host both protocols (xfce4-panel, Plasma) announce them within moments of each
// other; waiting this long after the last change spares the user an icon that jumps from one
// protocol to the other.
constexpr int kSettleMs = 250;

// xfce4-panel's tray shows the largest picture of IconPixmap, scaled down to its icon size (22 px
// unless the user chose another) with bilinear filtering, which blurs pixel art. Offered nothing
// larger than that, it shows the picture as it is. Other hosts pick the size that fits their slot.
QList<int> iconSizesForWatcher(const QDBusConnection& bus)
{
    const QList<int> all(kTrayIconSizes.begin(), kTrayIconSizes.end());
    QDBusConnectionInterface* daemon = bus.interface();
    const uint pid = daemon ? daemon->servicePid(kWatcherService).value() : 0;
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (pid == 0 || !cmdline.open(QIODevice::ReadOnly))
        return all;
    if (!cmdline.read(4096).contains("xfce4"))
        return all;
    return {16, 22};
}

// The sprite drawn for exactly the pixels Qt paints the XEmbed icon into: the tray's slot, at
// whatever size and scale the tray gave it, so nothing is resampled afterwards.
class SpriteIconEngine final : public QIconEngine
{
public:
    explicit SpriteIconEngine(TraySprite sprite) : sprite_(std::move(sprite)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QSize pixels = (QSizeF(rect.size()) * dpr).toSize();
        const int slot = std::min(pixels.width(), pixels.height());
        if (slot <= 0)
            return;
        QImage image = renderTrayImage(sprite_, slot);
        image.setDevicePixelRatio(dpr);
        // Centred on whole device pixels.
        const QPointF offset(((pixels.width() - slot) / 2) / dpr,
                             ((pixels.height() - slot) / 2) / dpr);
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter->drawImage(QPointF(rect.topLeft()) + offset, image);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return QPixmap::fromImage(renderTrayImage(sprite_, std::min(size.width(), size.height())));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new SpriteIconEngine(sprite_); }
    QString key() const override { return QStringLiteral("tockwork-tray-sprite"); }

private:
    TraySprite sprite_;
};

// Chooses between the desktop's tray hosts as they come and go: TockWork's own
// StatusNotifierItem whenever a StatusNotifierWatcher with a registered host is on the session
// bus, else an XEmbed icon while an X11 tray owns its selection, never both. Both are watched
// through notifications (the watcher's bus name and signals, the X11 selection), not polled.
class SystemTray final : public QObject, public TrayPlatform
{
    Q_OBJECT
public:
    SystemTray() : bus_(QDBusConnection::sessionBus()), item_(bus_)
    {
        connect(&item_, &StatusNotifierItem::activated, this, [this](const QPoint& pos) {
            const QRect anchor(pos, QSize(1, 1));
            // Hosts pass no modifiers; on X11 the keyboard can still be asked.
            if (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier)
                openMenu(anchor, pos);
            else if (callbacks_.activated)
                callbacks_.activated(anchor);
        });
        connect(&item_, &StatusNotifierItem::menuWanted, this,
                [this](const QPoint& pos) { openMenu(QRect(pos, QSize(1, 1)), pos); });

        if (bus_.isConnected()) {
            watcherWatch_ = std::make_unique<QDBusServiceWatcher>(
                kWatcherService, bus_, QDBusServiceWatcher::WatchForOwnerChange);
            connect(watcherWatch_.get(), &QDBusServiceWatcher::serviceOwnerChanged, this,
                    [this](const QString&, const QString&, const QString& owner) {
                        watcherOwnerChanged(owner);
                    });
            // QtDBus takes D-Bus signals only by slot name.
            bus_.connect(kWatcherService, kWatcherPath, kWatcherService,
                         QStringLiteral("StatusNotifierHostRegistered"), this,
                         SLOT(hostRegistered()));
            bus_.connect(kWatcherService, kWatcherPath, kWatcherService,
                         QStringLiteral("StatusNotifierHostUnregistered"), this,
                         SLOT(readHostRegistered()));
            readWatcherNow();
        }
        xembed_ = TrayHosts::watchXEmbedTray([this](bool) { settle_.start(); });
        // Qt picks its own tray protocol once per process, when the first QSystemTrayIcon is made,
        // and would make that icon a second D-Bus item if a host was registered then. Made now,
        // while no host is, the icon stays XEmbed for good.
        if (!sniHost_)
            makeXEmbedIcon();

        settle_.setSingleShot(true);
        settle_.setInterval(kSettleMs);
        connect(&settle_, &QTimer::timeout, this, &SystemTray::choose);
        choose();
    }

    ~SystemTray() override { item_.withdraw(); }

    void setSprite(const TraySprite& sprite) override
    {
        sprite_ = sprite;
        if (mode_ == Mode::statusNotifier)
            item_.setSprite(sprite_);
        else if (icon_ && icon_->isVisible())
            icon_->setIcon(QIcon(new SpriteIconEngine(sprite_)));
    }

    void setToolTip(const QString& title, const QString& text) override
    {
        item_.setToolTip(title, text);
        toolTip_ = text.isEmpty() ? title : title + u'\n' + text;
        if (icon_)
            icon_->setToolTip(toolTip_);
    }

    void setMenu(QMenu* menu) override
    {
        menu_ = menu;
        item_.setMenu(menu);
    }

    void setCallbacks(TrayCallbacks callbacks) override { callbacks_ = std::move(callbacks); }

    double minImageIntervalSec() const override
    {
        return mode_ == Mode::statusNotifier ? kStatusNotifierMinInterval : 0;
    }

private Q_SLOTS:
    void hostRegistered()
    {
        sniHost_ = true;
        settle_.start();
    }

    // Asked again rather than assumed: other hosts may still be registered.
    void readHostRegistered()
    {
        QDBusMessage get = QDBusMessage::createMethodCall(
            kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
        auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(get), this);
        connect(pending, &QDBusPendingCallWatcher::finished, this,
                [this](QDBusPendingCallWatcher* call) {
                    const QDBusPendingReply<QDBusVariant> reply = *call;
                    sniHost_ = !reply.isError() && reply.value().variant().toBool();
                    call->deleteLater();
                    settle_.start();
                });
    }

private:
    enum class Mode
    {
        none,
        statusNotifier,
        xembed,
    };

    // At start the answer is needed before the first icon is made; a watcher that does not
    // answer within a second counts as none (its later signals still reach us).
    void readWatcherNow()
    {
        QDBusConnectionInterface* daemon = bus_.interface();
        if (!daemon)
            return;
        watcherOwner_ = daemon->serviceOwner(kWatcherService).value();
        if (watcherOwner_.isEmpty())
            return;
        item_.setIconSizes(iconSizesForWatcher(bus_));
        QDBusMessage get = QDBusMessage::createMethodCall(
            kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
        const QDBusMessage reply = bus_.call(get, QDBus::Block, 1000);
        sniHost_ = reply.type() == QDBusMessage::ReplyMessage &&
                   reply.arguments().value(0).value<QDBusVariant>().variant().toBool();
    }

    void watcherOwnerChanged(const QString& owner)
    {
        watcherOwner_ = owner;
        if (owner.isEmpty()) {
            sniHost_ = false;
            settle_.start();
        } else {
            item_.setIconSizes(iconSizesForWatcher(bus_));
            readHostRegistered();
        }
    }

    void choose()
    {
        const Mode next = sniHost_             ? Mode::statusNotifier
                          : xembed_->present() ? Mode::xembed
                                               : Mode::none;
        if (next == Mode::statusNotifier) {
            hideXEmbed();
            item_.setSprite(sprite_);
            // A watcher that restarted has forgotten the item: it is told again.
            if (registeredWith_ != watcherOwner_ || !item_.published()) {
                item_.registerWithWatcher();
                registeredWith_ = watcherOwner_;
            }
        } else {
            if (item_.published())
                item_.withdraw();
            registeredWith_.clear();
            if (next == Mode::xembed)
                showXEmbed();
            else
                hideXEmbed();
        }
        if (next == Mode::none && !toldNoTray_) {
            std::fputs("tockwork: no system tray yet; the icon will appear when one starts\n",
                       stderr);
            toldNoTray_ = true;
        }
        const bool paceChanged = (next == Mode::statusNotifier) != (mode_ == Mode::statusNotifier);
        mode_ = next;
        if (paceChanged && callbacks_.paceChanged)
            callbacks_.paceChanged();
    }

    void makeXEmbedIcon()
    {
        icon_ = std::make_unique<QSystemTrayIcon>();
        icon_->setToolTip(toolTip_);
        connect(icon_.get(), &QSystemTrayIcon::activated, this, &SystemTray::xembedActivated);
    }

    void showXEmbed()
    {
        // Never made while a host is registered (see the constructor).
        if (!icon_ && sniHost_)
            return;
        if (!icon_)
            makeXEmbedIcon();
        icon_->setIcon(QIcon(new SpriteIconEngine(sprite_)));
        if (!icon_->isVisible())
            icon_->show();
    }

    void hideXEmbed()
    {
        if (icon_ && icon_->isVisible())
            icon_->hide();
    }

    void xembedActivated(QSystemTrayIcon::ActivationReason reason)
    {
        const QRect anchor = icon_ ? icon_->geometry() : QRect();
        switch (reason) {
        case QSystemTrayIcon::Trigger:
            if (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier)
                openMenu(anchor, QCursor::pos());
            else if (callbacks_.activated)
                callbacks_.activated(anchor);
            break;
        case QSystemTrayIcon::Context:
        case QSystemTrayIcon::MiddleClick:
            openMenu(anchor, QCursor::pos());
            break;
        default:
            break;
        }
    }

    void openMenu(const QRect& anchor, const QPoint& at)
    {
        if (callbacks_.menuRequested)
            callbacks_.menuRequested(anchor);
        if (menu_)
            menu_->popup(at);
    }

    QDBusConnection bus_;
    StatusNotifierItem item_;
    std::unique_ptr<QDBusServiceWatcher> watcherWatch_;
    std::unique_ptr<TrayHosts::XEmbedTray> xembed_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    QPointer<QMenu> menu_;
    TraySprite sprite_;
    QString toolTip_;
    TrayCallbacks callbacks_;
    QString watcherOwner_;
    QString registeredWith_;
    bool sniHost_ = false;
    bool toldNoTray_ = false;
    Mode mode_ = Mode::none;
    QTimer settle_;
};

} // namespace

std::unique_ptr<TrayPlatform> makeSystemTray()
{
    return std::make_unique<SystemTray>();
}

#include "SystemTray.moc"
