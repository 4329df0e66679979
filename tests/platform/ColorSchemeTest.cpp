// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's light or dark preference read from a stand-in XDG desktop portal on a private
// session bus of the test's own, and followed when the desktop switches.
#include "platform/ColorScheme.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");

// org.freedesktop.portal.Settings with one value, answered the way portals before version 2 do:
// a variant inside a variant.
class FakePortal final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    uint scheme = 0;
    int reads = 0;

public Q_SLOTS:
    QDBusVariant Read(const QString& nameSpace, const QString& key)
    {
        ++reads;
        if (nameSpace != QLatin1String("org.freedesktop.appearance") ||
            key != QLatin1String("color-scheme"))
            return QDBusVariant(QVariant());
        return QDBusVariant(QVariant::fromValue(QDBusVariant(scheme)));
    }
};

class Portal : public testing::Test
{
protected:
    void SetUp() override
    {
        FILE* out =
            popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
        char address[512] = {};
        long pid = 0;
        const bool started =
            out && std::fgets(address, sizeof address, out) && std::fscanf(out, "%ld", &pid) == 1;
        if (out)
            pclose(out);
        if (!started || pid <= 0)
            GTEST_SKIP() << "dbus-daemon is not installed";
        daemon_ = pid_t(pid);
        address_ = QString::fromUtf8(QByteArray(address).trimmed());
    }
    void TearDown() override
    {
        if (portalBus_)
            QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
        if (daemon_ > 0)
            kill(daemon_, SIGTERM);
    }

    // The portal service on the bus, answering `scheme`.
    void startPortal(uint scheme)
    {
        portal.scheme = scheme;
        QDBusConnection bus =
            QDBusConnection::connectToBus(address_, QStringLiteral("fake-portal"));
        portalBus_ = true;
        ASSERT_TRUE(bus.isConnected());
        ASSERT_TRUE(bus.registerObject(kPath, &portal, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }

    void emitChange(const QString& nameSpace, uint scheme)
    {
        QDBusMessage signal =
            QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("SettingChanged"));
        signal << nameSpace << QStringLiteral("color-scheme")
               << QVariant::fromValue(QDBusVariant(scheme));
        QDBusConnection(QStringLiteral("fake-portal")).send(signal);
    }

    QString address_;
    pid_t daemon_ = 0;
    bool portalBus_ = false;
    FakePortal portal;
};

TEST_F(Portal, ThePreferenceIsReadAndFollowed)
{
    startPortal(1);
    ColorScheme scheme(address_);
    QSignalSpy changed(&scheme, &ColorScheme::changed);
    ASSERT_TRUE(waitFor([&] { return scheme.prefersDark().has_value(); }));
    EXPECT_EQ(scheme.prefersDark(), true);
    EXPECT_EQ(portal.reads, 1);

    // Another namespace's setting changes nothing.
    emitChange(QStringLiteral("org.gnome.desktop.interface"), 2);
    emitChange(QStringLiteral("org.freedesktop.appearance"), 2);
    ASSERT_TRUE(waitFor([&] { return scheme.prefersDark() == false; }));
    EXPECT_EQ(changed.count(), 2); // the first answer, then the switch

    // "No preference": the palette decides again.
    emitChange(QStringLiteral("org.freedesktop.appearance"), 0);
    ASSERT_TRUE(waitFor([&] { return !scheme.prefersDark().has_value(); }));
}

TEST_F(Portal, NoPortalMeansNoPreferenceWithoutDelay)
{
    ColorScheme scheme(address_);
    QSignalSpy changed(&scheme, &ColorScheme::changed);
    QThread::msleep(200);
    QCoreApplication::processEvents();
    EXPECT_FALSE(scheme.prefersDark().has_value());
    EXPECT_EQ(changed.count(), 0);
    // A bus that cannot be reached is no different.
    ColorScheme nowhere(QStringLiteral("unix:path=/nonexistent/bus"));
    EXPECT_FALSE(nowhere.prefersDark().has_value());
}

} // namespace

#include "ColorSchemeTest.moc"
