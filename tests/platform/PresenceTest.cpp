// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeBus.h"
#include "TestWindow.h"

#include "platform/Presence.h"

#include <QDBusObjectPath>
#include <QSignalSpy>

#include <unistd.h>

#include <QDBusArgument>
#include <QDBusMetaType>

// logind's (session id, session object) pair.
struct SessionRef
{
    QString id;
    QDBusObjectPath path;
};
Q_DECLARE_METATYPE(SessionRef)

QDBusArgument& operator<<(QDBusArgument& argument, const SessionRef& session)
{
    argument.beginStructure();
    argument << session.id << session.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SessionRef& session)
{
    argument.beginStructure();
    argument >> session.id >> session.path;
    argument.endStructure();
    return argument;
}

using DesktopSession::waitFor;

namespace {

const QString kFreedesktop = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kGnome = QStringLiteral("org.gnome.ScreenSaver");
const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/_32");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");

// A screensaver service that starts in `active` and answers GetActive.
struct FakeScreenSaver
{
    FakeScreenSaver(const QString& serviceName, const QString& objectPath, bool active)
        : service(FakeService::Bus::session, serviceName), name(serviceName), path(objectPath)
    {
        service.setMethod(path, QStringLiteral("GetActive"),
                          [active](const QDBusMessage& call) { return call.createReply(active); });
    }
    // Announces a change once the watcher has asked for the state, so it listens by then.
    void announce(bool active)
    {
        ASSERT_TRUE(waitFor([&] { return service.calls(QStringLiteral("GetActive")) > 0; }));
        service.emitSignal(path, name, QStringLiteral("ActiveChanged"), {active});
    }

    FakeService service;
    QString name, path;
};

using PresenceTest = DesktopTest;

TEST_F(PresenceTest, ScreenSaverOfAnyDesktopCounts)
{
    FakeScreenSaver kde(kFreedesktop, QStringLiteral("/org/freedesktop/ScreenSaver"), true);
    FakeScreenSaver gnome(kGnome, QStringLiteral("/org/gnome/ScreenSaver"), false);
    Presence presence;
    QSignalSpy changed(&presence, &Presence::screenSaverChanged);

    // Running already when the application starts.
    ASSERT_TRUE(waitFor([&] { return presence.screenSaverOn(); }));
    EXPECT_TRUE(presence.awayByScreen());

    kde.announce(false);
    ASSERT_TRUE(waitFor([&] { return !presence.screenSaverOn(); }));
    gnome.announce(true);
    ASSERT_TRUE(waitFor([&] { return presence.screenSaverOn(); }));
    // Input seen by the poll drops an "on" whose "off" never came.
    presence.clearScreenSaver();
    EXPECT_FALSE(presence.screenSaverOn());

    ASSERT_EQ(changed.count(), 4);
    EXPECT_EQ(changed[0][0].toBool(), true);
    EXPECT_EQ(changed[1][0].toBool(), false);
    EXPECT_EQ(changed[2][0].toBool(), true);
    EXPECT_EQ(changed[3][0].toBool(), false);
}

TEST_F(PresenceTest, XServerScreenSaverCounts)
{
    Presence presence;
    QSignalSpy changed(&presence, &Presence::screenSaverChanged);
    ASSERT_FALSE(presence.screenSaverOn());
    ASSERT_EQ(DesktopSession::run(QStringLiteral("xset"),
                                  {QStringLiteral("s"), QStringLiteral("activate")}),
              0);
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_TRUE(presence.screenSaverOn());
    ASSERT_EQ(
        DesktopSession::run(QStringLiteral("xset"), {QStringLiteral("s"), QStringLiteral("reset")}),
        0);
    EXPECT_TRUE(waitFor([&] { return !presence.screenSaverOn(); }));
}

// logind finds the session by this process's pid, or (for a process the desktop started outside
// the session) through the user's display session.
class LockTest : public DesktopTest, public testing::WithParamInterface<bool>
{};

TEST_P(LockTest, FollowsLockedHintOfThisSession)
{
    const bool inSession = GetParam();
    FakeService logind(FakeService::Bus::system, kLogind);
    logind.setMethod(QStringLiteral("/org/freedesktop/login1"), QStringLiteral("GetSessionByPID"),
                     [inSession](const QDBusMessage& call) {
                         if (!inSession || call.arguments().value(0).toUInt() != uint(::getpid()))
                             return call.createErrorReply(
                                 QStringLiteral("org.freedesktop.login1.NoSessionForPID"),
                                 QStringLiteral("not in a session"));
                         return call.createReply(
                             QVariant::fromValue(QDBusObjectPath(kSessionPath)));
                     });
    if (!inSession) {
        qDBusRegisterMetaType<SessionRef>();
        logind.setProperty(
            QStringLiteral("/org/freedesktop/login1/user/self"),
            QStringLiteral("org.freedesktop.login1.User"), QStringLiteral("Display"),
            QVariant::fromValue(SessionRef{QStringLiteral("2"), QDBusObjectPath(kSessionPath)}));
    }
    logind.setProperty(kSessionPath, kSession, QStringLiteral("LockedHint"), false);

    Presence presence;
    QSignalSpy locked(&presence, &Presence::screenLockedChanged);
    ASSERT_TRUE(waitFor([&] { return logind.calls(QStringLiteral("Get")) > 0; }));
    logind.changeProperty(kSessionPath, kSession, QStringLiteral("LockedHint"), true);
    ASSERT_TRUE(locked.wait(5000));
    EXPECT_TRUE(presence.screenLocked());
    EXPECT_TRUE(presence.awayByScreen());
    EXPECT_FALSE(presence.screenSaverOn());

    logind.changeProperty(kSessionPath, kSession, QStringLiteral("LockedHint"), false);
    EXPECT_TRUE(waitFor([&] { return !presence.screenLocked(); }));
}

INSTANTIATE_TEST_SUITE_P(Session, LockTest, testing::Values(true, false), [](const auto& tested) {
    return tested.param ? "ByPid" : "ByUserDisplay";
});

TEST_F(PresenceTest, WithoutLogindTheScreenSaverIsTheLock)
{
    FakeScreenSaver saver(kFreedesktop, QStringLiteral("/org/freedesktop/ScreenSaver"), false);
    Presence presence;
    QSignalSpy locked(&presence, &Presence::screenLockedChanged);
    // Xvfb has no display power management: the display counts as awake.
    EXPECT_FALSE(presence.displayAsleep());
    EXPECT_FALSE(presence.awayByScreen());

    saver.announce(true);
    ASSERT_TRUE(locked.wait(5000));
    EXPECT_TRUE(presence.screenLocked());
}

} // namespace
