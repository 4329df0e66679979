// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct State
{
    std::unique_ptr<QTemporaryDir> dir;
    std::vector<pid_t> children;
    pid_t windowManager = 0;
    QString why;
    bool up = false;
};

State& state()
{
    static State s;
    return s;
}

// Starts `args` with `reportFd` (or -1) as descriptor 3, the one a daemon reports its address on,
// and `outputFd` (or -1 for nowhere) as its standard output. The child dies with the test binary,
// however that ends.
pid_t spawn(const QStringList& args, int reportFd, int outputFd = -1)
{
    std::vector<QByteArray> bytes;
    for (const QString& arg : args)
        bytes.push_back(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent)
        ::_exit(127);
    const int devNull = ::open("/dev/null", O_RDWR);
    ::dup2(devNull, 0);
    ::dup2(outputFd >= 0 ? outputFd : devNull, 1);
    if (!qEnvironmentVariableIsSet("TOCKWORK_TEST_DEBUG"))
        ::dup2(devNull, 2);
    if (reportFd == 3)
        ::fcntl(3, F_SETFD, 0);
    else if (reportFd >= 0)
        ::dup2(reportFd, 3);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

// The first line a child writes to its report pipe.
QByteArray readLine(int fd, std::chrono::milliseconds timeout)
{
    QByteArray line;
    QDeadlineTimer deadline(timeout);
    while (!line.contains('\n') && !deadline.hasExpired()) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, int(deadline.remainingTime())) <= 0)
            break;
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        line.append(buffer, n);
    }
    return line.left(line.indexOf('\n')).trimmed();
}

QByteArray startReporting(const QStringList& args)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {};
    // Descriptor 3 of the child is a copy made after fork, so it survives exec.
    const pid_t pid = spawn(args, fds[1]);
    ::close(fds[1]);
    const QByteArray line = pid > 0 ? readLine(fds[0], std::chrono::seconds(10)) : QByteArray();
    ::close(fds[0]);
    if (pid > 0)
        state().children.push_back(pid);
    return line;
}

bool startBus(const QString& name, const char* variable)
{
    const QString folder = state().dir->filePath(name);
    QDir().mkpath(folder);
    QFile config(folder + QLatin1String("/bus.conf"));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    // No service folders: nothing is started on demand, a missing service stays missing.
    config.write(QStringLiteral(
                     "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                     "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                     "<auth>EXTERNAL</auth><policy context=\"default\">"
                     "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                     "<allow own=\"*\"/></policy></busconfig>\n")
                     .arg(folder)
                     .toUtf8());
    config.close();
    const QByteArray address = startReporting(
        {QStringLiteral("dbus-daemon"), QLatin1String("--config-file=") + config.fileName(),
         QStringLiteral("--nofork"), QStringLiteral("--print-address=3")});
    if (address.isEmpty())
        return false;
    qputenv(variable, address);
    return true;
}

// Before the application object exists, so without QProcess.
bool windowManagerReady()
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    const pid_t pid = spawn({QStringLiteral("xprop"), QStringLiteral("-root"),
                             QStringLiteral("_NET_SUPPORTING_WM_CHECK")},
                            -1, fds[1]);
    ::close(fds[1]);
    const QByteArray output = readLine(fds[0], std::chrono::seconds(3));
    ::close(fds[0]);
    if (pid > 0)
        ::waitpid(pid, nullptr, 0);
    return output.contains("window id");
}

} // namespace

namespace DesktopSession {

bool start()
{
    State& s = state();
    for (const char* tool : {"Xvfb", "openbox", "dbus-daemon", "xdotool", "xprop", "xset"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            s.why = QStringLiteral("%1 is not installed (scripts/setup.sh installs it)").arg(tool);
            return false;
        }
    }
    s.dir = std::make_unique<QTemporaryDir>();
    const QByteArray display = startReporting({QStringLiteral("Xvfb"), QStringLiteral("-displayfd"),
                                               QStringLiteral("3"), QStringLiteral("-screen"),
                                               QStringLiteral("0"), QStringLiteral("1024x768x24"),
                                               QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (display.isEmpty()) {
        s.why = QStringLiteral("Xvfb did not start");
        return false;
    }
    qputenv("DISPLAY", ":" + display);
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("QT_QPA_PLATFORM", "xcb");
    for (const char* folder : {"runtime", "config", "data", "cache"})
        QDir().mkpath(s.dir->filePath(QString::fromLatin1(folder)));
    QFile::setPermissions(s.dir->filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", s.dir->filePath(QStringLiteral("runtime")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", s.dir->filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", s.dir->filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", s.dir->filePath(QStringLiteral("cache")).toLocal8Bit());
    if (!startBus(QStringLiteral("session-bus"), "DBUS_SESSION_BUS_ADDRESS") ||
        !startBus(QStringLiteral("system-bus"), "DBUS_SYSTEM_BUS_ADDRESS")) {
        s.why = QStringLiteral("dbus-daemon did not start");
        return false;
    }
    s.windowManager = spawn({QStringLiteral("openbox")}, -1);
    s.children.push_back(s.windowManager);
    QDeadlineTimer deadline(std::chrono::seconds(10));
    while (!windowManagerReady()) {
        if (deadline.hasExpired()) {
            s.why = QStringLiteral("openbox did not start");
            return false;
        }
        QThread::msleep(20);
    }
    s.up = true;
    return true;
}

void stop()
{
    State& s = state();
    for (auto it = s.children.rbegin(); it != s.children.rend(); ++it) {
        ::kill(*it, SIGTERM);
        ::waitpid(*it, nullptr, 0);
    }
    s.children.clear();
    s.dir.reset();
}

bool available()
{
    return state().up;
}

QString whyUnavailable()
{
    return state().why;
}

QString root()
{
    return state().dir ? state().dir->path() : QString();
}

void stopWindowManager()
{
    State& s = state();
    if (!s.windowManager)
        return;
    ::kill(s.windowManager, SIGTERM);
    ::waitpid(s.windowManager, nullptr, 0);
    std::erase(s.children, s.windowManager);
    s.windowManager = 0;
}

int run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, args);
    if (!process.waitForFinished(10000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

} // namespace DesktopSession
