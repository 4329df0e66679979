// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusVariant>
#include <QHash>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

#include <optional>

class QAction;

// One item of a com.canonical.dbusmenu layout, (ia{sv}av): its id, properties and children.
struct DBusMenuLayoutItem
{
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};

// An item's properties, (ia{sv}).
struct DBusMenuItemProperties
{
    int id = 0;
    QVariantMap properties;
};

// Names of properties an item lost, (ias).
struct DBusMenuItemKeys
{
    int id = 0;
    QStringList names;
};

// One event of EventGroup, (isvu).
struct DBusMenuEvent
{
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuLayoutItem& item);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuLayoutItem& item);
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItemProperties& item);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItemProperties& item);
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItemKeys& item);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItemKeys& item);
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuEvent& event);

Q_DECLARE_METATYPE(DBusMenuLayoutItem)
Q_DECLARE_METATYPE(DBusMenuItemProperties)
Q_DECLARE_METATYPE(DBusMenuItemKeys)
Q_DECLARE_METATYPE(DBusMenuEvent)
Q_DECLARE_METATYPE(QList<DBusMenuItemProperties>)
Q_DECLARE_METATYPE(QList<DBusMenuItemKeys>)
Q_DECLARE_METATYPE(QList<DBusMenuEvent>)

// Registers the menu types with QtDBus; safe to call more than once.
void registerDBusMenuTypes();

// Publishes a QMenu on the session bus as com.canonical.dbusmenu, for tray hosts that draw the
// menu themselves (xfce4-panel, KDE Plasma, the GNOME AppIndicator extension). Items carry their
// labels, shortcuts, check marks, enabled and visible states; submenus nest. Before the host shows
// the menu it calls AboutToShow, which fires the menu's aboutToShow() so the owner can rebuild it;
// a change to the menu's actions tells the host through LayoutUpdated. A "clicked" event triggers
// the action, after the D-Bus call has returned (the action may open a dialog).
class DBusMenuExporter final : public QObject, protected QDBusContext
{
    Q_OBJECT
    // QtDBus gives a call's context (to answer it with an error) to the adaptor's parent.
    friend class DBusMenuAdaptor;

public:
    DBusMenuExporter(QDBusConnection bus, QString path, QObject* parent = nullptr);
    ~DBusMenuExporter() override;

    // Exported only while the object is registered; a null menu exports an empty one.
    bool registerObject();
    void unregisterObject();

    void setMenu(QMenu* menu);
    QMenu* menu() const { return menu_; }
    const QString& path() const { return path_; }
    uint revision() const { return revision_; }

    // The com.canonical.dbusmenu calls, also used directly by tests.
    uint layout(int parentId, int depth, const QStringList& names, DBusMenuLayoutItem& out);
    QList<DBusMenuItemProperties> groupProperties(const QList<int>& ids, const QStringList& names);
    // `name` of item `id`: its value, else the format's default; none for an unknown item or name.
    std::optional<QVariant> property(int id, const QString& name);
    // The root (0) or an item the host has been given in a layout.
    bool itemExists(int id) const;
    bool event(int id, const QString& eventId);
    bool aboutToShow(int id);
    // The menu behind `id`: the exported menu for 0, a submenu for the item that opens it.
    QMenu* menuOfId(int id) const;

Q_SIGNALS:
    void layoutUpdated(uint revision, int parent);
    void itemsPropertiesUpdated(const QList<DBusMenuItemProperties>& updated,
                                const QList<DBusMenuItemKeys>& removed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int idOf(QAction* action);
    QAction* actionOf(int id) const;
    QVariantMap propertiesOf(QAction* action, const QStringList& names);
    DBusMenuLayoutItem itemOf(int id, QMenu* menu, int depth, const QStringList& names);
    void watch(QMenu* menu);
    void scheduleLayoutUpdate();

    QDBusConnection bus_;
    QString path_;
    QPointer<QMenu> menu_;
    QList<QPointer<QMenu>> watched_;
    QHash<QAction*, int> ids_;
    QHash<int, QPointer<QAction>> actions_;
    int nextId_ = 1;
    uint revision_ = 1;
    bool updatePending_ = false;
    bool registered_ = false;
};
