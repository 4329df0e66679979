#include "CliRunner.h"

#include <QElapsedTimer>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QByteArray kStore = "[General]\nmonthlySalaryWon=3000000\n";

// A status bar reads one line a second and stops the companion with SIGTERM; meanwhile the
// tray application saves new settings by renaming a new file over the old one.
TEST_F(CliTest, LineWatchFollowsTheApplicationsWritesUntilTerminated)
{
    writeStore(kStore);
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(QStringLiteral(TOCKWORK_CLI), {"--watch", "--line", "--at", "2026-03-10 10:30"});
    ASSERT_TRUE(process.waitForStarted());

    QByteArray out;
    QElapsedTimer waited;
    waited.start();
    const auto waitForLines = [&](qsizetype count) {
        while (out.count('\n') < count && waited.elapsed() < 15000) {
            process.waitForReadyRead(200);
            out += process.readAllStandardOutput();
        }
    };
    waitForLines(1);
    QFile replacement(storePath() + QStringLiteral(".new"));
    ASSERT_TRUE(replacement.open(QIODevice::WriteOnly));
    replacement.write("[General]\nmonthlySalaryWon=4000000\n");
    replacement.close();
    ::rename(QFile::encodeName(replacement.fileName()).constData(),
             QFile::encodeName(storePath()).constData());
    waitForLines(3);
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);

    const QList<QByteArray> lines = out.split('\n');
    ASSERT_GE(lines.size(), 4) << out.toStdString();
    EXPECT_TRUE(lines.first().startsWith("🐜 (세전)26,7")) << out.toStdString();
    EXPECT_TRUE(lines[2].startsWith("🐜 (세전)35,7")) << out.toStdString();
    EXPECT_FALSE(out.contains('\x1b'));
}

// Reads whatever the pty master has until `marker` shows up or the time runs out.
QByteArray readUntil(int fd, const QByteArray& marker, int timeoutMs, QByteArray seen = {})
{
    QElapsedTimer waited;
    waited.start();
    while (!seen.contains(marker) && waited.elapsed() < timeoutMs) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        timeval tv = {0, 100000};
        if (::select(fd + 1, &set, nullptr, nullptr, &tv) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break; // the child closed the terminal
        seen.append(buffer, n);
    }
    return seen;
}

TEST_F(CliTest, ScreenWatchRestoresTheTerminalOnInterrupt)
{
    writeStore(kStore);
    const QByteArray program = TOCKWORK_CLI;
    const QByteArray configHomeBytes = QFile::encodeName(configHome());

    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_NE(pid, -1);
    if (pid == 0) {
        ::setenv("XDG_CONFIG_HOME", configHomeBytes.constData(), 1);
        ::setenv("TZ", "Asia/Seoul", 1);
        ::setenv("LC_ALL", "C", 1);
        ::execl(program.constData(), program.constData(), "--watch", "--at", "2026-03-10 10:30",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }

    // Two frames drawn in place, then Ctrl+C.
    QByteArray seen = readUntil(master, "\x1b[J", 10000);
    seen = readUntil(master, "\x1b[J\x1b[H", 10000, seen);
    termios during = {};
    ASSERT_EQ(::tcgetattr(master, &during), 0);
    ::kill(pid, SIGINT);
    seen = readUntil(master, "\x1b[?25h", 5000, seen);
    termios after = {};
    const bool haveAfter = ::tcgetattr(master, &after) == 0;

    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ::close(master);

    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(seen.startsWith("\x1b[?25l")) << "cursor not hidden";
    EXPECT_TRUE(seen.endsWith("\x1b[?25h")) << "cursor not shown again at the end";
    EXPECT_TRUE(QString::fromUtf8(seen).contains("열심히 일하는 중 🐜"));
    EXPECT_FALSE(seen.contains("^C"));
    EXPECT_EQ(during.c_lflag & ECHO, 0u) << "typed keys would scribble over the frame";
    if (haveAfter) {
        EXPECT_NE(after.c_lflag & ECHO, 0u) << "echo was not switched back on";
    }
}

} // namespace
