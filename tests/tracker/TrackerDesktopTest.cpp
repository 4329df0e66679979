// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FakeBus.h"
#include "platform/TestWindow.h"

#include "browser/TabReport.h"
#include "engine/Clock.h"
#include "engine/Store.h"
#include "slacking/Wollu.h"
#include "tracker/BrowserTabs.h"
#include "tracker/DesktopWollu.h"
#include "tracker/WolluProbes.h"
#include "tracker/WolluTracker.h"

#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QLocalSocket>

#include <fcntl.h>
#include <unistd.h>

#include "Sandbox.h"

using DesktopSession::waitFor;

namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/_31");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
const QString kSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");

// logind as far as the tracker meets it: this process's session and its lock, the list of
// inhibited actions, delay inhibitors and the sleep announcement.
struct StandInLogind
{
    StandInLogind()
    {
        service.setMethod(
            kLogindPath, QStringLiteral("GetSessionByPID"), [](const QDBusMessage& c) {
                return c.createReply(QVariant::fromValue(QDBusObjectPath(kSessionPath)));
            });
        service.setMethod(kLogindPath, QStringLiteral("Inhibit"), [](const QDBusMessage& c) {
            const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            const QDBusMessage reply =
                c.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(fd)));
            ::close(fd);
            return reply;
        });
        service.setProperty(kSessionPath, kSession, QStringLiteral("LockedHint"), false);
        service.setProperty(kLogindPath, kManager, QStringLiteral("BlockInhibited"),
                            QStringLiteral("sleep"));
    }
    FakeService service{FakeService::Bus::system, kLogind};
};

bool input()
{
    static int x = 0;
    x = (x + 37) % 500;
    return DesktopSession::run(
               QStringLiteral("xdotool"),
               {QStringLiteral("mousemove"), QString::number(x + 10), QStringLiteral("20")}) == 0;
}

class TrackerDesktopTest : public DesktopTest
{
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        if (IsSkipped())
            return;
        Wollu::setApps(QStringLiteral("디스코드,유튜브"));
        saver.setMethod(kSaverPath, QStringLiteral("GetActive"),
                        [](const QDBusMessage& c) { return c.createReply(false); });
        wollu = std::make_unique<DesktopWollu>();
        wollu->tracker().setIdleThreshold(2);
    }
    void poll()
    {
        Clock::advance(10);
        wollu->poll();
    }
    QString run() const
    {
        const auto r = wollu->tracker().openRun();
        return r ? r->reason + u'/' + r->target : QString();
    }
    bool front(const TestWindow& window)
    {
        return window.shown() && const_cast<TestWindow&>(window).activate() && waitFor([&] {
                   const auto w = wollu->probes().frontWindow();
                   return w && w->pid == window.pid();
               });
    }

    StoreSandbox store;
    FrozenClock clock{QDate(2025, 3, 12), QTime(10, 0)};
    StandInLogind logind;
    FakeService saver{FakeService::Bus::session, kSaver};
    std::unique_ptr<DesktopWollu> wollu;
};

// Real windows of other processes, the X server's idle time and screensaver extension; logind and
// the desktop's screensaver played on the private buses.
TEST_F(TrackerDesktopTest, CountsWhatIsInFrontOfTheUserOnARealDesktop)
{
    TestWindow discord(QStringLiteral("discord"), QStringLiteral("discord"),
                       QStringLiteral("#general - Discord"));
    TestWindow notes(QStringLiteral("Mousepad"), QStringLiteral("mousepad"),
                     QStringLiteral("회의록.txt"));
    TestWindow chromium(QStringLiteral("Chromium"), QStringLiteral("chromium"),
                        QStringLiteral("고양이 - YouTube - Chromium"));

    ASSERT_TRUE(front(discord) && input());
    poll();
    poll();
    EXPECT_EQ(run(), QStringLiteral("app/discord"));
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 20);

    ASSERT_TRUE(front(notes) && input());
    poll();
    EXPECT_EQ(run(), QString());
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 20);

    // No input for the threshold: idle, unless an application holds an idle inhibitor.
    ASSERT_TRUE(waitFor([&] { return wollu->probes().idleSeconds() >= 2; }));
    poll();
    EXPECT_EQ(run(), QStringLiteral("idle/idle"));
    logind.service.setProperty(kLogindPath, kManager, QStringLiteral("BlockInhibited"),
                               QStringLiteral("sleep:idle"));
    ASSERT_TRUE(waitFor([&] { return wollu->probes().idleInhibited(); }, std::chrono::seconds(10)));
    poll();
    EXPECT_EQ(run(), QString());
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 30);

    // The desktop's screensaver, once the user has been away long enough for it to be believed.
    ASSERT_TRUE(
        waitFor([&] { return wollu->probes().idleSeconds() >= 5; }, std::chrono::seconds(10)));
    saver.emitSignal(kSaverPath, kSaver, QStringLiteral("ActiveChanged"), {true});
    ASSERT_TRUE(waitFor([&] { return wollu->probes().screenSaverOn(); }));
    poll();
    EXPECT_EQ(run(), QStringLiteral("away_screen/away"));
    saver.emitSignal(kSaverPath, kSaver, QStringLiteral("ActiveChanged"), {false});
    ASSERT_TRUE(waitFor([&] { return !wollu->probes().screenSaverOn(); }));

    // The session's lock.
    ASSERT_TRUE(input());
    logind.service.changeProperty(kSessionPath, kSession, QStringLiteral("LockedHint"), true);
    ASSERT_TRUE(waitFor([&] { return wollu->probes().awayByScreen(); }));
    poll();
    EXPECT_EQ(run(), QStringLiteral("away_screen/away"));
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 50);
    logind.service.changeProperty(kSessionPath, kSession, QStringLiteral("LockedHint"), false);
    ASSERT_TRUE(waitFor([&] { return !wollu->probes().awayByScreen(); }));

    // A browser without our extension: its window title names the site.
    ASSERT_TRUE(front(chromium) && input());
    poll();
    ASSERT_TRUE(waitFor([&] { return !wollu->tracker().tabURLFetching(); }));
    EXPECT_EQ(run(), QStringLiteral("site/youtube"));
    // With it, the address it reported for that browser window decides.
    QLocalSocket host;
    host.connectToServer(wollu->browserTabs().path());
    ASSERT_TRUE(host.waitForConnected(2000));
    host.write(TabReports::encode(
        {QStringLiteral("Chromium"), chromium.pid(), QStringLiteral("https://github.com/")}));
    ASSERT_TRUE(host.waitForBytesWritten(2000));
    ASSERT_TRUE(
        waitFor([&] { return wollu->browserTabs().latest({}, chromium.pid()).has_value(); }));
    poll();
    ASSERT_TRUE(waitFor([&] { return !wollu->tracker().tabURLFetching(); }));
    EXPECT_EQ(run(), QString());
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 60);
}

TEST_F(TrackerDesktopTest, LogindSleepIsCountedOnWake)
{
    ASSERT_TRUE(waitFor([&] { return logind.service.calls(QStringLiteral("Inhibit")) > 0; }));
    logind.service.emitSignal(kLogindPath, kManager, QStringLiteral("PrepareForSleep"), {true});
    ASSERT_TRUE(waitFor([&] { return wollu->tracker().sleepStart() > 0; }));
    Clock::advance(40 * 60);
    logind.service.emitSignal(kLogindPath, kManager, QStringLiteral("PrepareForSleep"), {false});
    ASSERT_TRUE(waitFor([&] { return Wollu::seconds() > 0; }));
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 40 * 60);
    // A new inhibitor for the next sleep.
    EXPECT_TRUE(waitFor([&] { return logind.service.calls(QStringLiteral("Inhibit")) > 1; }));
}

} // namespace
