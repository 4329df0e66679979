// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestWindow.h"

#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <csignal>

namespace {

// A start of TockWork in a process of its own (the test binary's --instance part).
class Start final
{
public:
    explicit Start(const QProcessEnvironment& environment)
    {
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--instance")});
    }
    ~Start()
    {
        process.closeWriteChannel();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(1000);
    }
    // Its first line, while this process keeps answering D-Bus calls.
    QByteArray firstLine()
    {
        DesktopSession::waitFor(
            [&] { return process.canReadLine() || process.state() == QProcess::NotRunning; },
            std::chrono::seconds(10));
        return process.readLine().trimmed();
    }

    QProcess process;
};

using SingleInstanceTest = DesktopTest;

TEST_F(SingleInstanceTest, SecondStartHandsOverToTheFirst)
{
    SingleInstance first;
    ASSERT_TRUE(first.claim());
    QSignalSpy activated(&first, &SingleInstance::activationRequested);

    Start second(QProcessEnvironment::systemEnvironment());
    EXPECT_EQ(second.firstLine(), "running");
    EXPECT_EQ(activated.count(), 1);
}

TEST_F(SingleInstanceTest, WithoutSessionBusTheLockFileDecidesAndACrashLeavesNoBlock)
{
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=") + runtime.filePath(QStringLiteral("no-bus")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    {
        Start first(environment);
        ASSERT_EQ(first.firstLine(), "claimed");
        Start second(environment);
        EXPECT_EQ(second.firstLine(), "running unreachable");
        // The first instance crashes; its lock file stays behind.
        ::kill(pid_t(first.process.processId()), SIGKILL);
        first.process.waitForFinished(5000);
    }
    ASSERT_TRUE(QFile::exists(runtime.filePath(QStringLiteral("tockwork.lock"))));
    Start next(environment);
    EXPECT_EQ(next.firstLine(), "claimed");
}

} // namespace
