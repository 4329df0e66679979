// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/TrayImage.h"

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>

class DBusMenuExporter;
class QMenu;

// One picture of an org.kde.StatusNotifierItem icon, (iiay): ARGB32 pixels in network byte order.
struct SniPixmap
{
    int width = 0;
    int height = 0;
    QByteArray argb;

    bool operator==(const SniPixmap&) const = default;
};

// The item's tooltip, (sa(iiay)ss).
struct SniToolTip
{
    QString iconName;
    QList<SniPixmap> pixmaps;
    QString title;
    QString text;
};

QDBusArgument& operator<<(QDBusArgument& arg, const SniPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& arg, SniPixmap& pixmap);
QDBusArgument& operator<<(QDBusArgument& arg, const SniToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& arg, SniToolTip& tip);

Q_DECLARE_METATYPE(SniPixmap)
Q_DECLARE_METATYPE(SniToolTip)

// `image` as the format's picture: big-endian ARGB, not premultiplied.
SniPixmap sniPixmap(const QImage& image);

// TockWork's own StatusNotifierItem: the icon for panels that host items over D-Bus (KDE Plasma,
// xfce4-panel, LXQt, the GNOME AppIndicator extension). Unlike Qt's built-in D-Bus tray, it can be
// registered again with a watcher that starts late or restarts, passes on where the user clicked,
// and announces a new icon only when its pixels change. The menu goes out as com.canonical.dbusmenu
// at /MenuBar (the Menu property; xfce4-panel 4.18 reads nothing else).
class StatusNotifierItem final : public QObject
{
    Q_OBJECT
public:
    explicit StatusNotifierItem(QDBusConnection bus, QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    // Takes the item's bus name, exports the item and its menu, and registers with the watcher
    // (asynchronously; again on each call, for a watcher that restarted).
    void registerWithWatcher();
    // Gives the bus name up again: every watcher drops the item.
    void withdraw();
    bool published() const { return published_; }
    QString serviceName() const { return serviceName_; }

    void setSprite(const TraySprite& sprite);
    // The pixel sizes offered in IconPixmap (kTrayIconSizes unless the host needs fewer).
    void setIconSizes(const QList<int>& sizes);
    void setToolTip(const QString& title, const QString& text);
    void setMenu(QMenu* menu);

    const QList<SniPixmap>& iconPixmaps() const { return pixmaps_; }
    const SniToolTip& toolTip() const { return toolTip_; }
    // The day's headline in words, for screen readers: the tooltip's title and text on one line.
    QString accessibleDescription() const;

    // The methods hosts call, with their coordinates (screen pixels as the host sees them).
    // Activations closer together than kMinActivationIntervalMs count once.
    void activate(int x, int y);
    void secondaryActivate(int x, int y);
    void contextMenu(int x, int y);

    static constexpr qint64 kMinActivationIntervalMs = 500;

Q_SIGNALS:
    // Left click; Qt's screen coordinates of the click, (0, 0) when the host sent none.
    void activated(const QPoint& pos);
    // Middle click, or a host's request for the context menu.
    void menuWanted(const QPoint& pos);
    // Relayed to D-Bus by the adaptor.
    void newIcon();
    void newToolTip();

private:
    QPoint clickPosition(int x, int y) const;
    void renderPixmaps();

    QDBusConnection bus_;
    QString serviceName_;
    DBusMenuExporter* menu_;
    TraySprite sprite_;
    QList<int> sizes_;
    QList<SniPixmap> pixmaps_;
    SniToolTip toolTip_;
    bool published_ = false;
    QElapsedTimer lastActivation_;
};
