// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeBus.h"
#include "TestWindow.h"

#include "platform/SleepWake.h"

#include <QDBusUnixFileDescriptor>
#include <QSignalSpy>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using DesktopSession::waitFor;

namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

// logind's side of a delay inhibitor: the read end of a pipe whose write end went to the caller.
// The caller is ready for sleep once every copy of the write end is closed.
struct Inhibitors
{
    ~Inhibitors()
    {
        for (int fd : held)
            ::close(fd);
    }
    bool released(int index) const
    {
        pollfd p{held.at(index), POLLIN, 0};
        return ::poll(&p, 1, 0) == 1 && (p.revents & POLLHUP);
    }

    QList<int> held;
    QStringList requests;
};

class SleepWakeTest : public DesktopTest
{
protected:
    void serveInhibit(FakeService& logind, Inhibitors& inhibitors)
    {
        logind.setMethod(kLogindPath, QStringLiteral("Inhibit"), [&](const QDBusMessage& call) {
            QStringList args;
            for (const QVariant& a : call.arguments())
                args << a.toString();
            inhibitors.requests << args.join(u'|');
            int fds[2];
            if (::pipe2(fds, O_CLOEXEC) != 0)
                return call.createErrorReply(QDBusError::Failed, QStringLiteral("pipe"));
            inhibitors.held << fds[0];
            const QDBusMessage reply =
                call.createReply(QVariant::fromValue(QDBusUnixFileDescriptor(fds[1])));
            ::close(fds[1]);
            return reply;
        });
    }
    double suspended = 1000;
};

TEST_F(SleepWakeTest, LogindSleepWaitsForTheHandlersThenWakeTakesANewInhibitor)
{
    FakeService logind(FakeService::Bus::system, kLogind);
    Inhibitors inhibitors;
    serveInhibit(logind, inhibitors);
    SleepWake sleepWake([this] { return suspended; }, nullptr);
    ASSERT_TRUE(waitFor([&] { return inhibitors.held.size() == 1; }));
    EXPECT_EQ(inhibitors.requests[0].section(u'|', 0, 1), QStringLiteral("sleep|tockwork"));
    EXPECT_EQ(inhibitors.requests[0].section(u'|', 3), QStringLiteral("delay"));

    bool heldDuringHandler = false;
    QObject::connect(&sleepWake, &SleepWake::willSleep,
                     [&] { heldDuringHandler = !inhibitors.released(0); });
    QSignalSpy woke(&sleepWake, &SleepWake::didWake);
    logind.emitSignal(kLogindPath, kManager, QStringLiteral("PrepareForSleep"), {true});
    ASSERT_TRUE(waitFor([&] { return inhibitors.released(0); }));
    EXPECT_TRUE(heldDuringHandler);

    suspended += 3600;
    logind.emitSignal(kLogindPath, kManager, QStringLiteral("PrepareForSleep"), {false});
    ASSERT_TRUE(woke.wait(5000));
    EXPECT_DOUBLE_EQ(woke[0][0].toDouble(), 3600);
    EXPECT_TRUE(waitFor([&] { return inhibitors.held.size() == 2; }));
    EXPECT_FALSE(inhibitors.released(1));

    // Where logind announces sleep, the clock check leaves it to logind.
    suspended += 100;
    sleepWake.checkForMissedSleep();
    EXPECT_EQ(woke.count(), 1);
}

TEST_F(SleepWakeTest, WithoutLogindAGapInTheClocksIsASleep)
{
    SleepWake sleepWake([this] { return suspended; }, nullptr);
    QSignalSpy woke(&sleepWake, &SleepWake::didWake);
    suspended += 29; // a short suspend the poll may well miss altogether
    sleepWake.checkForMissedSleep();
    suspended += 45;
    sleepWake.checkForMissedSleep();
    sleepWake.checkForMissedSleep();
    ASSERT_EQ(woke.count(), 1);
    EXPECT_DOUBLE_EQ(woke[0][0].toDouble(), 45);
}

TEST_F(SleepWakeTest, RealClocksShowNoSleepBetweenTwoChecks)
{
    SleepWake sleepWake;
    QSignalSpy woke(&sleepWake, &SleepWake::didWake);
    sleepWake.checkForMissedSleep();
    sleepWake.checkForMissedSleep();
    EXPECT_EQ(woke.count(), 0);
}

} // namespace
