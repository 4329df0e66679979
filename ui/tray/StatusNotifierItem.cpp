// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/StatusNotifierItem.h"

#include "ui/tray/DBusMenu.h"
#include "ui/tray/TrayPixelRatio.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QtEndian>

#include <algorithm>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kMenuPath = QStringLiteral("/MenuBar");

void registerSniTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<SniPixmap>();
        qDBusRegisterMetaType<QList<SniPixmap>>();
        qDBusRegisterMetaType<SniToolTip>();
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace

QDBusArgument& operator<<(QDBusArgument& arg, const SniPixmap& pixmap)
{
    arg.beginStructure();
    arg << pixmap.width << pixmap.height << pixmap.argb;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, SniPixmap& pixmap)
{
    arg.beginStructure();
    arg >> pixmap.width >> pixmap.height >> pixmap.argb;
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const SniToolTip& tip)
{
    arg.beginStructure();
    arg << tip.iconName << tip.pixmaps << tip.title << tip.text;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, SniToolTip& tip)
{
    arg.beginStructure();
    arg >> tip.iconName >> tip.pixmaps >> tip.title >> tip.text;
    arg.endStructure();
    return arg;
}

SniPixmap sniPixmap(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    SniPixmap pixmap{argb.width(), argb.height(), {}};
    pixmap.argb.resize(qsizetype(argb.width()) * argb.height() * 4);
    auto* out = reinterpret_cast<uchar*>(pixmap.argb.data());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const quint32*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x, out += 4)
            qToBigEndian<quint32>(line[x], out);
    }
    return pixmap;
}

class StatusNotifierItemAdaptor final : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconThemePath READ empty)
    Q_PROPERTY(QString IconName READ empty)
    Q_PROPERTY(QList<SniPixmap> IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ empty)
    Q_PROPERTY(QList<SniPixmap> OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ empty)
    Q_PROPERTY(QList<SniPixmap> AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ empty)
    Q_PROPERTY(SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
    // Read by the GNOME AppIndicator extension after every new icon (a screen reader's text for the
    // picture); an absent one makes the Shell log an error each time.
    Q_PROPERTY(QString IconAccessibleDesc READ accessibleDescription)
    Q_PROPERTY(QString AttentionAccessibleDesc READ accessibleDescription)
    // Ayatana's label beside the icon, also asked for by that extension: none.
    Q_PROPERTY(QString XAyatanaLabel READ empty)
    Q_PROPERTY(QString XAyatanaLabelGuide READ empty)
    Q_PROPERTY(uint XAyatanaOrderingIndex READ orderingIndex)
public:
    explicit StatusNotifierItemAdaptor(StatusNotifierItem* item)
        : QDBusAbstractAdaptor(item), item_(item)
    {
        connect(item, &StatusNotifierItem::newIcon, this, &StatusNotifierItemAdaptor::NewIcon);
        connect(item, &StatusNotifierItem::newToolTip, this,
                &StatusNotifierItemAdaptor::NewToolTip);
    }

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return QStringLiteral("tockwork"); }
    QString title() const { return QStringLiteral("톡웍"); }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString empty() const { return {}; }
    QList<SniPixmap> iconPixmap() const { return item_->iconPixmaps(); }
    QList<SniPixmap> noPixmaps() const { return {}; }
    SniToolTip toolTip() const { return item_->toolTip(); }
    QString accessibleDescription() const { return item_->accessibleDescription(); }
    uint orderingIndex() const { return 0; }
    // A left click is ours (it opens the panel); the menu comes with the right click.
    bool itemIsMenu() const { return false; }
    QDBusObjectPath menu() const { return QDBusObjectPath(kMenuPath); }

public Q_SLOTS:
    void Activate(int x, int y) { item_->activate(x, y); }
    void SecondaryActivate(int x, int y) { item_->secondaryActivate(x, y); }
    void ContextMenu(int x, int y) { item_->contextMenu(x, y); }
    void Scroll(int, const QString&) {}
    // KDE Plasma on Wayland hands over a window activation token before Activate; the panel is
    // raised by the compositor's own rules, so the token is not needed, but the call is answered.
    void ProvideXdgActivationToken(const QString&) {}

Q_SIGNALS:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString& status);

private:
    StatusNotifierItem* item_;
};

StatusNotifierItem::StatusNotifierItem(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)),
      serviceName_(QStringLiteral("org.kde.StatusNotifierItem-%1-1")
                       .arg(QCoreApplication::applicationPid())),
      menu_(new DBusMenuExporter(bus_, kMenuPath, this)),
      sizes_(kTrayIconSizes.begin(), kTrayIconSizes.end())
{
    registerSniTypes();
    new StatusNotifierItemAdaptor(this);
}

StatusNotifierItem::~StatusNotifierItem()
{
    withdraw();
}

void StatusNotifierItem::registerWithWatcher()
{
    if (!bus_.isConnected())
        return;
    if (!published_) {
        published_ = bus_.registerObject(kItemPath, this, QDBusConnection::ExportAdaptors) &&
                     menu_->registerObject() && bus_.registerService(serviceName_);
        if (!published_) {
            withdraw();
            return;
        }
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        kWatcherService, QStringLiteral("/StatusNotifierWatcher"), kWatcherService,
        QStringLiteral("RegisterStatusNotifierItem"));
    call << serviceName_;
    // Nobody waits for the answer: a watcher that is gone or wedged must not hold the GUI thread.
    bus_.asyncCall(call);
}

void StatusNotifierItem::withdraw()
{
    if (!bus_.isConnected())
        return;
    bus_.unregisterService(serviceName_);
    bus_.unregisterObject(kItemPath);
    menu_->unregisterObject();
    published_ = false;
}

void StatusNotifierItem::setSprite(const TraySprite& sprite)
{
    sprite_ = sprite;
    renderPixmaps();
}

void StatusNotifierItem::setIconSizes(const QList<int>& sizes)
{
    if (sizes == sizes_)
        return;
    sizes_ = sizes;
    renderPixmaps();
}

void StatusNotifierItem::renderPixmaps()
{
    QList<SniPixmap> pixmaps;
    if (!sprite_.isNull()) {
        for (int size : sizes_)
            pixmaps.append(sniPixmap(renderTrayImage(sprite_, size)));
    }
    // Hosts fetch every property again after the signal: it is sent only for new pixels.
    if (pixmaps == pixmaps_)
        return;
    pixmaps_ = std::move(pixmaps);
    Q_EMIT newIcon();
}

void StatusNotifierItem::setToolTip(const QString& title, const QString& text)
{
    if (title == toolTip_.title && text == toolTip_.text)
        return;
    toolTip_.title = title;
    toolTip_.text = text;
    Q_EMIT newToolTip();
}

QString StatusNotifierItem::accessibleDescription() const
{
    if (toolTip_.title.isEmpty())
        return QStringLiteral("톡웍");
    if (toolTip_.text.isEmpty())
        return toolTip_.title;
    return toolTip_.title + QStringLiteral(" · ") + toolTip_.text;
}

void StatusNotifierItem::setMenu(QMenu* menu)
{
    menu_->setMenu(menu);
}

QPoint StatusNotifierItem::clickPosition(int x, int y) const
{
    // A host may send any pair of integers; the panel's rectangle arithmetic downstream adds
    // sizes to the point, which overflows near the ends of the range. No screen is this large.
    constexpr int kFarthest = 1 << 20;
    return trayLogicalPoint(
        QPoint(std::clamp(x, -kFarthest, kFarthest), std::clamp(y, -kFarthest, kFarthest)));
}

void StatusNotifierItem::activate(int x, int y)
{
    // A host's call, not necessarily a user's click: one that repeats Activate thousands of times
    // a second must not open and close the panel each time. Two real clicks are further apart.
    if (lastActivation_.isValid() && lastActivation_.elapsed() < kMinActivationIntervalMs)
        return;
    lastActivation_.start();
    // (0, 0) is a host that knows no position (GNOME's extension): it goes on as it is, for the
    // panel to take the corner, since the pointer may be anywhere by now (or unknown to X11 under
    // a Wayland compositor).
    Q_EMIT activated(QPoint(x, y).isNull() ? QPoint() : clickPosition(x, y));
}

void StatusNotifierItem::secondaryActivate(int x, int y)
{
    Q_EMIT menuWanted(clickPosition(x, y));
}

void StatusNotifierItem::contextMenu(int x, int y)
{
    Q_EMIT menuWanted(clickPosition(x, y));
}

#include "StatusNotifierItem.moc"
