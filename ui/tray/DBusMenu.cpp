// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/DBusMenu.h"

#include <QAction>
#include <QActionEvent>
#include <QActionGroup>
#include <QBuffer>
#include <QDBusAbstractAdaptor>
#include <QDBusMetaType>
#include <QEvent>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QPixmap>
#include <QTimer>

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuLayoutItem& item)
{
    arg.beginStructure();
    arg << item.id << item.properties;
    // Children travel as variants, which is how the format nests a structure in itself.
    arg.beginArray(qMetaTypeId<QDBusVariant>());
    for (const DBusMenuLayoutItem& child : item.children)
        arg << QDBusVariant(QVariant::fromValue(child));
    arg.endArray();
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuLayoutItem& item)
{
    arg.beginStructure();
    arg >> item.id >> item.properties;
    item.children.clear();
    arg.beginArray();
    while (!arg.atEnd()) {
        QDBusVariant child;
        arg >> child;
        const QVariant value = child.variant();
        DBusMenuLayoutItem childItem;
        if (value.canConvert<QDBusArgument>())
            value.value<QDBusArgument>() >> childItem;
        else
            childItem = value.value<DBusMenuLayoutItem>();
        item.children.append(childItem);
    }
    arg.endArray();
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItemProperties& item)
{
    arg.beginStructure();
    arg << item.id << item.properties;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItemProperties& item)
{
    arg.beginStructure();
    arg >> item.id >> item.properties;
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItemKeys& item)
{
    arg.beginStructure();
    arg << item.id << item.names;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItemKeys& item)
{
    arg.beginStructure();
    arg >> item.id >> item.names;
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuEvent& event)
{
    arg.beginStructure();
    arg << event.id << event.eventId << event.data << event.timestamp;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuEvent& event)
{
    arg.beginStructure();
    arg >> event.id >> event.eventId >> event.data >> event.timestamp;
    arg.endStructure();
    return arg;
}

void registerDBusMenuTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<DBusMenuLayoutItem>();
        qDBusRegisterMetaType<DBusMenuItemProperties>();
        qDBusRegisterMetaType<DBusMenuItemKeys>();
        qDBusRegisterMetaType<DBusMenuEvent>();
        qDBusRegisterMetaType<QList<DBusMenuItemProperties>>();
        qDBusRegisterMetaType<QList<DBusMenuItemKeys>>();
        qDBusRegisterMetaType<QList<DBusMenuEvent>>();
        qDBusRegisterMetaType<QList<QStringList>>();
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

// dbusmenu marks mnemonics with "_" where Qt uses "&"; a literal underscore is doubled.
QString dbusMenuLabel(const QString& text)
{
    QString label;
    label.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'_') {
            label += QStringLiteral("__");
        } else if (c == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&')
                label += u'&', ++i;
            else
                label += u'_';
        } else {
            label += c;
        }
    }
    return label;
}

// A key sequence as dbusmenu's list of chords, each its modifiers followed by the key.
QList<QStringList> dbusMenuShortcut(const QKeySequence& sequence)
{
    QList<QStringList> chords;
    for (int i = 0; i < sequence.count(); ++i) {
        const QKeyCombination combination = sequence[i];
        const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
        QStringList chord;
        if (modifiers & Qt::MetaModifier)
            chord << QStringLiteral("Super");
        if (modifiers & Qt::ControlModifier)
            chord << QStringLiteral("Control");
        if (modifiers & Qt::AltModifier)
            chord << QStringLiteral("Alt");
        if (modifiers & Qt::ShiftModifier)
            chord << QStringLiteral("Shift");
        const QString key = QKeySequence(combination.key()).toString(QKeySequence::PortableText);
        chord << (key == u"+"   ? QStringLiteral("plus")
                  : key == u"-" ? QStringLiteral("minus")
                                : key);
        chords.append(chord);
    }
    return chords;
}

QByteArray pngOf(const QIcon& icon)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    icon.pixmap(16, 16).toImage().save(&buffer, "PNG");
    return png;
}

} // namespace

class DBusMenuAdaptor final : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)
public:
    explicit DBusMenuAdaptor(DBusMenuExporter* exporter)
        : QDBusAbstractAdaptor(exporter), exporter_(exporter)
    {
        connect(exporter, &DBusMenuExporter::layoutUpdated, this, &DBusMenuAdaptor::LayoutUpdated);
        connect(exporter, &DBusMenuExporter::itemsPropertiesUpdated, this,
                &DBusMenuAdaptor::ItemsPropertiesUpdated);
    }

    uint version() const { return 3; }
    QString textDirection() const { return QStringLiteral("ltr"); }
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public Q_SLOTS:
    uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                   DBusMenuLayoutItem& layout)
    {
        return exporter_->layout(parentId, recursionDepth, propertyNames, layout);
    }
    QList<DBusMenuItemProperties> GetGroupProperties(const QList<int>& ids,
                                                     const QStringList& propertyNames)
    {
        return exporter_->groupProperties(ids, propertyNames);
    }
    QDBusVariant GetProperty(int id, const QString& name)
    {
        // Every call gets an answer: a host waits its whole D-Bus timeout for a missing one.
        if (const std::optional<QVariant> value = exporter_->property(id, name))
            return QDBusVariant(*value);
        if (!exporter_->itemExists(id))
            exporter_->sendErrorReply(QStringLiteral("com.canonical.dbusmenu.Error.UnknownId"),
                                      QStringLiteral("No menu item %1").arg(id));
        else
            exporter_->sendErrorReply(QDBusError::InvalidArgs,
                                      QStringLiteral("No property %1").arg(name));
        return {};
    }
    void Event(int id, const QString& eventId, const QDBusVariant&, uint)
    {
        exporter_->event(id, eventId);
    }
    QList<int> EventGroup(const QList<DBusMenuEvent>& events)
    {
        QList<int> unknown;
        for (const DBusMenuEvent& e : events) {
            if (!exporter_->event(e.id, e.eventId))
                unknown.append(e.id);
        }
        return unknown;
    }
    bool AboutToShow(int id) { return exporter_->aboutToShow(id); }
    QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors)
    {
        QList<int> updates;
        for (int id : ids) {
            if (!exporter_->menuOfId(id))
                idErrors.append(id);
            else if (exporter_->aboutToShow(id))
                updates.append(id);
        }
        return updates;
    }

Q_SIGNALS:
    void ItemsPropertiesUpdated(const QList<DBusMenuItemProperties>& updatedProps,
                                const QList<DBusMenuItemKeys>& removedProps);
    void LayoutUpdated(uint revision, int parent);
    void ItemActivationRequested(int id, uint timestamp);

private:
    DBusMenuExporter* exporter_;
};

DBusMenuExporter::DBusMenuExporter(QDBusConnection bus, QString path, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), path_(std::move(path))
{
    registerDBusMenuTypes();
    new DBusMenuAdaptor(this);
}

DBusMenuExporter::~DBusMenuExporter()
{
    unregisterObject();
}

bool DBusMenuExporter::registerObject()
{
    if (!registered_)
        registered_ = bus_.registerObject(path_, this, QDBusConnection::ExportAdaptors);
    return registered_;
}

void DBusMenuExporter::unregisterObject()
{
    if (registered_)
        bus_.unregisterObject(path_);
    registered_ = false;
}

void DBusMenuExporter::setMenu(QMenu* menu)
{
    if (menu == menu_)
        return;
    for (const QPointer<QMenu>& watched : std::as_const(watched_)) {
        if (watched)
            watched->removeEventFilter(this);
    }
    watched_.clear();
    menu_ = menu;
    if (menu_)
        watch(menu_);
    scheduleLayoutUpdate();
}

void DBusMenuExporter::watch(QMenu* menu)
{
    if (!menu || watched_.contains(menu))
        return;
    watched_.append(menu);
    menu->installEventFilter(this);
    for (QAction* action : menu->actions())
        watch(action->menu());
}

bool DBusMenuExporter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ActionAdded:
    case QEvent::ActionRemoved:
    case QEvent::ActionChanged:
        if (event->type() == QEvent::ActionAdded) {
            if (QAction* action = static_cast<QActionEvent*>(event)->action())
                watch(action->menu());
        }
        scheduleLayoutUpdate();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void DBusMenuExporter::scheduleLayoutUpdate()
{
    // Rebuilding a menu adds and changes many actions at once: the host hears of it once.
    if (updatePending_)
        return;
    updatePending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (!updatePending_)
            return;
        updatePending_ = false;
        ++revision_;
        Q_EMIT layoutUpdated(revision_, 0);
    });
}

int DBusMenuExporter::idOf(QAction* action)
{
    if (const auto it = ids_.constFind(action); it != ids_.constEnd())
        return *it;
    const int id = nextId_++;
    ids_.insert(action, id);
    actions_.insert(id, action);
    connect(action, &QObject::destroyed, this, [this, action, id] {
        ids_.remove(action);
        actions_.remove(id);
    });
    return id;
}

QAction* DBusMenuExporter::actionOf(int id) const
{
    return actions_.value(id);
}

QMenu* DBusMenuExporter::menuOfId(int id) const
{
    if (id == 0)
        return menu_;
    QAction* action = actionOf(id);
    return action ? action->menu() : nullptr;
}

QVariantMap DBusMenuExporter::propertiesOf(QAction* action, const QStringList& names)
{
    QVariantMap p;
    if (action->isSeparator()) {
        p.insert(QStringLiteral("type"), QStringLiteral("separator"));
    } else {
        p.insert(QStringLiteral("label"), dbusMenuLabel(action->text()));
        if (!action->shortcut().isEmpty())
            p.insert(QStringLiteral("shortcut"),
                     QVariant::fromValue(dbusMenuShortcut(action->shortcut())));
        if (action->isCheckable()) {
            const bool radio = action->actionGroup() && action->actionGroup()->isExclusive();
            p.insert(QStringLiteral("toggle-type"),
                     radio ? QStringLiteral("radio") : QStringLiteral("checkmark"));
            p.insert(QStringLiteral("toggle-state"), action->isChecked() ? 1 : 0);
        }
        if (!action->icon().isNull()) {
            if (!action->icon().name().isEmpty())
                p.insert(QStringLiteral("icon-name"), action->icon().name());
            else
                p.insert(QStringLiteral("icon-data"), pngOf(action->icon()));
        }
        if (action->menu())
            p.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    }
    // Defaults (enabled, visible) are left out, as the format asks.
    if (!action->isEnabled())
        p.insert(QStringLiteral("enabled"), false);
    if (!action->isVisible())
        p.insert(QStringLiteral("visible"), false);
    if (names.isEmpty())
        return p;
    QVariantMap wanted;
    for (const QString& name : names) {
        if (p.contains(name))
            wanted.insert(name, p.value(name));
    }
    return wanted;
}

DBusMenuLayoutItem DBusMenuExporter::itemOf(int id, QMenu* menu, int depth,
                                            const QStringList& names)
{
    DBusMenuLayoutItem item;
    item.id = id;
    if (id != 0) {
        if (QAction* action = actionOf(id))
            item.properties = propertiesOf(action, names);
    } else {
        item.properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    }
    if (!menu || depth == 0)
        return item;
    for (QAction* action : menu->actions()) {
        const int childId = idOf(action);
        item.children.append(itemOf(childId, action->menu(), depth < 0 ? -1 : depth - 1, names));
    }
    return item;
}

uint DBusMenuExporter::layout(int parentId, int depth, const QStringList& names,
                              DBusMenuLayoutItem& out)
{
    out = itemOf(parentId, menuOfId(parentId), depth, names);
    return revision_;
}

QList<DBusMenuItemProperties> DBusMenuExporter::groupProperties(const QList<int>& ids,
                                                                const QStringList& names)
{
    QList<DBusMenuItemProperties> result;
    for (int id : ids) {
        if (id == 0)
            result.append({0, {{QStringLiteral("children-display"), QStringLiteral("submenu")}}});
        else if (QAction* action = actionOf(id))
            result.append({id, propertiesOf(action, names)});
    }
    return result;
}

bool DBusMenuExporter::itemExists(int id) const
{
    return id == 0 || actionOf(id);
}

std::optional<QVariant> DBusMenuExporter::property(int id, const QString& name)
{
    if (!itemExists(id))
        return std::nullopt;
    const QVariantMap carried =
        id == 0 ? QVariantMap{{QStringLiteral("children-display"), QStringLiteral("submenu")}}
                : propertiesOf(actionOf(id), {name});
    if (const auto it = carried.constFind(name); it != carried.constEnd())
        return *it;
    // What the format says an item without the property has (its values are left out of
    // layouts for that reason).
    static const QVariantMap defaults{
        {QStringLiteral("type"), QStringLiteral("standard")},
        {QStringLiteral("label"), QString()},
        {QStringLiteral("enabled"), true},
        {QStringLiteral("visible"), true},
        {QStringLiteral("icon-name"), QString()},
        {QStringLiteral("icon-data"), QByteArray()},
        {QStringLiteral("shortcut"), QVariant::fromValue(QList<QStringList>())},
        {QStringLiteral("toggle-type"), QString()},
        {QStringLiteral("toggle-state"), -1},
        {QStringLiteral("children-display"), QString()},
        {QStringLiteral("disposition"), QStringLiteral("normal")},
        {QStringLiteral("accessible-desc"), QString()},
    };
    if (const auto it = defaults.constFind(name); it != defaults.constEnd())
        return *it;
    return std::nullopt;
}

bool DBusMenuExporter::event(int id, const QString& eventId)
{
    if (eventId == u"closed") {
        if (QMenu* menu = menuOfId(id))
            Q_EMIT menu->aboutToHide();
        return true;
    }
    if (eventId != u"clicked")
        return id == 0 || actionOf(id);
    QPointer<QAction> action = actionOf(id);
    if (!action)
        return false;
    // Triggered once the host's call has been answered: the action may run a dialog of its own.
    QTimer::singleShot(0, this, [action] {
        if (action && action->isEnabled() && !action->menu())
            action->trigger();
    });
    return true;
}

bool DBusMenuExporter::aboutToShow(int id)
{
    QMenu* menu = menuOfId(id);
    if (!menu)
        return false;
    const uint before = revision_;
    Q_EMIT menu->aboutToShow();
    // A rebuild during aboutToShow() is announced now, in this answer, not after it.
    if (updatePending_) {
        updatePending_ = false;
        ++revision_;
        Q_EMIT layoutUpdated(revision_, 0);
    }
    return revision_ != before;
}

#include "DBusMenu.moc"
