// SPDX-License-Identifier: GPL-3.0-or-later
// TockWork's StatusNotifierItem and its dbusmenu on a real (private) session bus, read the way a
// panel reads them: from another connection, through the bus daemon.

#include "ui/tray/StatusNotifierItem.h"
#include "tray/PrivateBus.h"
#include "ui/tray/DBusMenu.h"
#include "ui/tray/TrayPlatform.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");

// Counts a D-Bus signal as a panel receives it.
class SignalCounter final : public QObject
{
    Q_OBJECT
public:
    int count = 0;
public Q_SLOTS:
    void received() { ++count; }
};

QImage filled(int side, QRgb colour)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

TraySprite sprite(QRgb colour)
{
    return {{filled(16, colour), filled(22, colour)}, std::nullopt};
}

class OnTheBus : public testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_BUS();
        ASSERT_TRUE(panel.isConnected());
        item.registerWithWatcher(); // no watcher here: the item is published all the same
        ASSERT_TRUE(item.published());
    }

    // A call as a panel makes it, answered by the item in this same thread.
    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& args)
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(item.serviceName(), path, interface, method);
        message.setArguments(args);
        return panel.call(message, QDBus::BlockWithGui, 5000);
    }

    QVariant property(const QString& name)
    {
        const QDBusMessage reply = call(QStringLiteral("/StatusNotifierItem"),
                                        QStringLiteral("org.freedesktop.DBus.Properties"),
                                        QStringLiteral("Get"), {kItemInterface, name});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

    int counted(SignalCounter& counter)
    {
        // A round trip: every signal sent before it has arrived once its answer is here.
        property(QStringLiteral("Id"));
        QCoreApplication::processEvents();
        return counter.count;
    }

    QDBusConnection panel = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "panel");
    StatusNotifierItem item{QDBusConnection::sessionBus()};
};

TEST_F(OnTheBus, NewIconOnlyWhenThePixelsChange)
{
    SignalCounter newIcon;
    ASSERT_TRUE(panel.connect(item.serviceName(), QStringLiteral("/StatusNotifierItem"),
                              kItemInterface, QStringLiteral("NewIcon"), &newIcon,
                              SLOT(received())));
    item.setSprite(sprite(0xFF102030));
    EXPECT_EQ(counted(newIcon), 1);
    // A fresh sprite with the same pixels, in another pixel format: nothing to tell.
    item.setSprite(
        {{filled(16, 0xFF102030).convertToFormat(QImage::Format_RGB32), filled(22, 0xFF102030)},
         std::nullopt});
    EXPECT_EQ(counted(newIcon), 1);
    item.setSprite(sprite(0xFF405060));
    EXPECT_EQ(counted(newIcon), 2);

    // Every offered size, ARGB in network byte order.
    const auto pixmaps = qdbus_cast<QList<SniPixmap>>(property(QStringLiteral("IconPixmap")));
    QList<int> sizes;
    for (const SniPixmap& p : pixmaps) {
        sizes.append(p.width);
        EXPECT_EQ(p.height, p.width);
        EXPECT_EQ(p.argb.size(), p.width * p.height * 4);
        const qsizetype centre = (qsizetype(p.height / 2) * p.width + p.width / 2) * 4;
        EXPECT_EQ(p.argb.mid(centre, 4), QByteArray::fromHex("ff405060")) << p.width;
    }
    EXPECT_EQ(sizes, QList<int>(kTrayIconSizes.begin(), kTrayIconSizes.end()));

    item.setIconSizes({16, 22}); // for a host that scales the largest picture down
    EXPECT_EQ(counted(newIcon), 3);
    EXPECT_EQ(qdbus_cast<QList<SniPixmap>>(property(QStringLiteral("IconPixmap"))).size(), 2);
}

TEST_F(OnTheBus, ToolTipMenuPathAndWhereTheUserClicked)
{
    SignalCounter newToolTip;
    ASSERT_TRUE(panel.connect(item.serviceName(), QStringLiteral("/StatusNotifierItem"),
                              kItemInterface, QStringLiteral("NewToolTip"), &newToolTip,
                              SLOT(received())));
    item.setToolTip(QStringLiteral("열심히 일하는 중 🐜"),
                    QStringLiteral("(세전)84,300원 벌었어요"));
    item.setToolTip(QStringLiteral("열심히 일하는 중 🐜"),
                    QStringLiteral("(세전)84,300원 벌었어요"));
    EXPECT_EQ(counted(newToolTip), 1) << "the same text is not announced again";
    const auto tip = qdbus_cast<SniToolTip>(property(QStringLiteral("ToolTip")));
    EXPECT_EQ(tip.title, QStringLiteral("열심히 일하는 중 🐜"));
    EXPECT_EQ(tip.text, QStringLiteral("(세전)84,300원 벌었어요"));

    EXPECT_FALSE(property(QStringLiteral("ItemIsMenu")).toBool());
    EXPECT_EQ(qdbus_cast<QDBusObjectPath>(property(QStringLiteral("Menu"))).path(),
              QStringLiteral("/MenuBar"));
    EXPECT_EQ(property(QStringLiteral("Status")).toString(), QStringLiteral("Active"));

    QSignalSpy activated(&item, &StatusNotifierItem::activated);
    QSignalSpy menuWanted(&item, &StatusNotifierItem::menuWanted);
    const QString path = QStringLiteral("/StatusNotifierItem");
    call(path, kItemInterface, QStringLiteral("Activate"), {120, 7});
    call(path, kItemInterface, QStringLiteral("SecondaryActivate"), {130, 8});
    call(path, kItemInterface, QStringLiteral("ContextMenu"), {140, 9});
    ASSERT_EQ(activated.size(), 1);
    EXPECT_EQ(activated[0][0].toPoint(), QPoint(120, 7));
    ASSERT_EQ(menuWanted.size(), 2);
    EXPECT_EQ(menuWanted[0][0].toPoint(), QPoint(130, 8)) << "middle click";
    EXPECT_EQ(menuWanted[1][0].toPoint(), QPoint(140, 9)) << "the host asks for the menu";
}

// Every property the hosts read: GNOME's AppIndicator extension (each by Get, after every new icon,
// and an unknown one is a logged error with its stack), KDE Plasma and waybar (GetAll).
TEST_F(OnTheBus, EveryPropertyAHostReadsAnswersWithItsType)
{
    item.setToolTip(QStringLiteral("열심히 일하는 중 🐜"),
                    QStringLiteral("(세전)84,300원 벌었어요"));
    const QList<std::pair<QString, QString>> read{
        {"Category", "s"},
        {"Id", "s"},
        {"Title", "s"},
        {"Status", "s"},
        {"WindowId", "i"},
        {"IconThemePath", "s"},
        {"IconName", "s"},
        {"IconPixmap", "a(iiay)"},
        {"IconAccessibleDesc", "s"},
        {"OverlayIconName", "s"},
        {"OverlayIconPixmap", "a(iiay)"},
        {"AttentionIconName", "s"},
        {"AttentionIconPixmap", "a(iiay)"},
        {"AttentionAccessibleDesc", "s"},
        {"AttentionMovieName", "s"},
        {"ToolTip", "(sa(iiay)ss)"},
        {"ItemIsMenu", "b"},
        {"Menu", "o"},
        {"XAyatanaLabel", "s"},
        {"XAyatanaLabelGuide", "s"},
        {"XAyatanaOrderingIndex", "u"},
    };
    const QDBusMessage all = call(QStringLiteral("/StatusNotifierItem"),
                                  QStringLiteral("org.freedesktop.DBus.Properties"),
                                  QStringLiteral("GetAll"), {kItemInterface});
    ASSERT_EQ(all.type(), QDBusMessage::ReplyMessage) << all.errorMessage().toStdString();
    const QVariantMap values = qdbus_cast<QVariantMap>(all.arguments().value(0));
    for (const auto& [name, signature] : read) {
        EXPECT_TRUE(values.contains(name)) << "GetAll lacks " << name.toStdString();
        const QVariant value = property(name);
        const QString got =
            value.canConvert<QDBusArgument>()
                ? value.value<QDBusArgument>().currentSignature()
                : QString::fromLatin1(QDBusMetaType::typeToSignature(value.metaType()));
        EXPECT_EQ(got, signature) << name.toStdString();
    }
    // Plasma on Wayland hands over an activation token before Activate.
    const QDBusMessage token =
        call(QStringLiteral("/StatusNotifierItem"), kItemInterface,
             QStringLiteral("ProvideXdgActivationToken"), {QStringLiteral("token")});
    EXPECT_EQ(token.type(), QDBusMessage::ReplyMessage) << token.errorMessage().toStdString();
    // What a screen reader says for the picture: the day's headline.
    const QString headline = QStringLiteral("열심히 일하는 중 🐜 · (세전)84,300원 벌었어요");
    EXPECT_EQ(property(QStringLiteral("IconAccessibleDesc")).toString(), headline);
    EXPECT_EQ(property(QStringLiteral("AttentionAccessibleDesc")).toString(), headline);
}

// Activate is a host's call: a flood of them is one click, and a host that knows no position
// says so with (0, 0), which stays (0, 0) instead of becoming wherever the pointer is.
TEST_F(OnTheBus, ActivateFloodCountsOnceAndNoPositionStaysNone)
{
    QSignalSpy activated(&item, &StatusNotifierItem::activated);
    const QString path = QStringLiteral("/StatusNotifierItem");
    for (int i = 0; i < 50; ++i)
        call(path, kItemInterface, QStringLiteral("Activate"), {0, 0});
    ASSERT_EQ(activated.size(), 1);
    EXPECT_EQ(activated[0][0].toPoint(), QPoint(0, 0));
    QTest::qWait(StatusNotifierItem::kMinActivationIntervalMs + 100);
    call(path, kItemInterface, QStringLiteral("Activate"), {120, 7});
    ASSERT_EQ(activated.size(), 2) << "a click after the interval is a new one";
    EXPECT_EQ(activated[1][0].toPoint(), QPoint(120, 7));

    // The ends of the integer range stay far from them, so that placing the panel at the point
    // cannot overflow.
    QSignalSpy menuWanted(&item, &StatusNotifierItem::menuWanted);
    QTest::qWait(StatusNotifierItem::kMinActivationIntervalMs + 100);
    call(path, kItemInterface, QStringLiteral("Activate"), {INT_MAX, INT_MAX});
    call(path, kItemInterface, QStringLiteral("ContextMenu"), {INT_MIN, INT_MAX});
    ASSERT_EQ(activated.size(), 3);
    ASSERT_EQ(menuWanted.size(), 1);
    for (const QPoint p : {activated[2][0].toPoint(), menuWanted[0][0].toPoint()}) {
        EXPECT_LE(std::abs(p.x()), 1 << 20);
        EXPECT_LE(std::abs(p.y()), 1 << 20);
    }
}

// The menu, read and used as xfce4-panel's dbusmenu client does: layout, AboutToShow (the owner
// rebuilds), then a click.
TEST_F(OnTheBus, MenuRoundTripRebuildsOnAboutToShowAndClickTriggersTheAction)
{
    registerDBusMenuTypes();
    QMenu menu;
    QAction* pin = menu.addAction(QStringLiteral("패널 항상 띄우기 (작업 중)"));
    pin->setCheckable(true);
    pin->setChecked(true);
    pin->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    menu.addSeparator();
    QMenu* more = menu.addMenu(QStringLiteral("&Tools_1"));
    more->addAction(QStringLiteral("inner"))->setEnabled(false);
    QAction* quit = menu.addAction(QStringLiteral("종료"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    bool rebuilt = false;
    QObject::connect(&menu, &QMenu::aboutToShow, [&] {
        if (!rebuilt)
            menu.insertAction(quit, new QAction(QStringLiteral("새로고침"), &menu));
        rebuilt = true;
    });
    item.setMenu(&menu);

    const auto layout = [&](uint* revision = nullptr) {
        const QDBusMessage reply = call(QStringLiteral("/MenuBar"), kMenuInterface,
                                        QStringLiteral("GetLayout"), {0, -1, QStringList()});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        if (revision)
            *revision = reply.arguments().value(0).toUInt();
        return qdbus_cast<DBusMenuLayoutItem>(reply.arguments().value(1));
    };
    uint before = 0;
    const DBusMenuLayoutItem root = layout(&before);
    ASSERT_EQ(root.children.size(), 4);
    const QVariantMap pinned = root.children[0].properties;
    EXPECT_EQ(pinned.value("label").toString(), QStringLiteral("패널 항상 띄우기 (작업 중)"));
    EXPECT_EQ(pinned.value("toggle-type").toString(), QStringLiteral("checkmark"));
    EXPECT_EQ(pinned.value("toggle-state").toInt(), 1);
    EXPECT_EQ(qdbus_cast<QList<QStringList>>(pinned.value("shortcut")),
              (QList<QStringList>{{"Control", "P"}}));
    EXPECT_EQ(root.children[1].properties.value("type").toString(), QStringLiteral("separator"));
    const DBusMenuLayoutItem& tools = root.children[2];
    EXPECT_EQ(tools.properties.value("label").toString(), QStringLiteral("_Tools__1"));
    EXPECT_EQ(tools.properties.value("children-display").toString(), QStringLiteral("submenu"));
    ASSERT_EQ(tools.children.size(), 1);
    EXPECT_FALSE(tools.children[0].properties.value("enabled", true).toBool());
    EXPECT_EQ(root.children[3].properties.value("label").toString(), QStringLiteral("종료"));

    const QDBusMessage shown =
        call(QStringLiteral("/MenuBar"), kMenuInterface, QStringLiteral("AboutToShow"), {0});
    EXPECT_TRUE(shown.arguments().value(0).toBool()) << "the owner rebuilt the menu";
    uint after = 0;
    const DBusMenuLayoutItem rebuiltRoot = layout(&after);
    EXPECT_GT(after, before);
    ASSERT_EQ(rebuiltRoot.children.size(), 5);
    EXPECT_EQ(rebuiltRoot.children[3].properties.value("label").toString(),
              QStringLiteral("새로고침"));

    QSignalSpy quitTriggered(quit, &QAction::triggered);
    const int quitId = rebuiltRoot.children[4].id;
    const QDBusMessage clicked =
        call(QStringLiteral("/MenuBar"), kMenuInterface, QStringLiteral("Event"),
             {quitId, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
    EXPECT_EQ(clicked.type(), QDBusMessage::ReplyMessage) << clicked.errorMessage().toStdString();
    // Triggered after the answer: while the panel's call waited, or soon after.
    EXPECT_TRUE(!quitTriggered.isEmpty() || quitTriggered.wait(2000));
    EXPECT_EQ(quitTriggered.size(), 1);
}

// GetProperty answers every call, with the value, the format's default or an error: a host
// that gets no answer waits its whole D-Bus timeout with the menu frozen.
TEST_F(OnTheBus, GetPropertyAnswersForTheRootUnknownItemsAndAbsentProperties)
{
    QMenu menu;
    menu.addAction(QStringLiteral("톡웍 설정…"));
    item.setMenu(&menu);
    const auto get = [&](int id, const QString& name) {
        QElapsedTimer took;
        took.start();
        const QDBusMessage reply = call(QStringLiteral("/MenuBar"), kMenuInterface,
                                        QStringLiteral("GetProperty"), {id, name});
        EXPECT_LT(took.elapsed(), 4000) << "no answer for " << id << " " << name.toStdString();
        EXPECT_NE(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.NoReply"));
        return reply;
    };
    const auto value = [](const QDBusMessage& reply) {
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    };

    // Before the first layout no item has an id yet; the root always exists.
    EXPECT_EQ(get(1, QStringLiteral("label")).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(value(get(0, QStringLiteral("children-display"))).toString(),
              QStringLiteral("submenu"));
    EXPECT_TRUE(value(get(0, QStringLiteral("visible"))).toBool());

    const QDBusMessage layout = call(QStringLiteral("/MenuBar"), kMenuInterface,
                                     QStringLiteral("GetLayout"), {0, -1, QStringList()});
    const int id = qdbus_cast<DBusMenuLayoutItem>(layout.arguments().value(1)).children.value(0).id;
    ASSERT_GT(id, 0);
    EXPECT_EQ(value(get(id, QStringLiteral("label"))).toString(), QStringLiteral("톡웍 설정…"));
    // Left out of the layout as defaults, answered as such.
    EXPECT_TRUE(value(get(id, QStringLiteral("enabled"))).toBool());
    EXPECT_EQ(value(get(id, QStringLiteral("type"))).toString(), QStringLiteral("standard"));
    EXPECT_EQ(value(get(id, QStringLiteral("icon-name"))).toString(), QString());
    EXPECT_EQ(get(id, QStringLiteral("no-such-property")).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(get(id + 1000, QStringLiteral("label")).type(), QDBusMessage::ErrorMessage);
}

// The real tray platform on the bus with a separate host process (tools/sni-host): a host that
// starts after the application, then crashes and starts again, gets the item each time.
TEST(SystemTray, AHostThatStartsLateOrRestartsGetsTheItemWithinTwoSeconds)
{
    SKIP_WITHOUT_BUS();
    std::unique_ptr<TrayPlatform> tray = makeSystemTray();
    int paceChanges = 0;
    tray->setCallbacks(
        {.activated = {}, .menuRequested = {}, .paceChanged = [&] { ++paceChanges; }});
    tray->setSprite(sprite(0xFF336699));
    EXPECT_EQ(tray->minImageIntervalSec(), 0) << "no host yet";

    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start ? "restarted host" : "late host");
        QProcess host;
        host.start(QStringLiteral(TOCKWORK_SNI_HOST), {});
        ASSERT_TRUE(host.waitForStarted());
        QElapsedTimer sinceStart;
        sinceStart.start();
        QByteArray said;
        for (QDeadlineTimer deadline(5000); !said.contains("fetched") && !deadline.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
            said += host.readAllStandardOutput();
        }
        EXPECT_TRUE(said.contains("registered org.kde.StatusNotifierItem-")) << said.constData();
        EXPECT_LT(sinceStart.elapsed(), 2000);
        EXPECT_EQ(tray->minImageIntervalSec(), 0.25) << "pictures cost a D-Bus fetch now";

        // The host fetched the pixels as a panel does, and got ours.
        EXPECT_FALSE(said.contains("fetched 0")) << said.constData();
        host.terminate();
        ASSERT_TRUE(host.waitForFinished(5000));
        for (QDeadlineTimer deadline(3000);
             tray->minImageIntervalSec() != 0 && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        EXPECT_EQ(tray->minImageIntervalSec(), 0) << "the host is gone";
    }
    EXPECT_EQ(paceChanges, 4);
}

} // namespace

#include "StatusNotifierItemTest.moc"
