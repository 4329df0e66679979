// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Watch.h"

#include "engine/Clock.h"

#include <QElapsedTimer>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Signals are turned into a byte on a pipe so the loop wakes at once and leaves through its
// normal exit, which restores the terminal; nothing but write() happens inside the handler.
int g_wakePipe[2] = {-1, -1};

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_wakePipe[1], &byte, 1);
    errno = saved;
}

bool installSignalPipe()
{
    if (::pipe(g_wakePipe) != 0)
        return false;
    for (int fd : g_wakePipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(sig, &action, nullptr);
    // A status bar that closes its end of the pipe ends the watch through a failed write.
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

// Keeps typed keys and the "^C" of an interrupt from scribbling over the redrawn block.
class QuietTerminal final
{
public:
    QuietTerminal()
    {
        if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &saved_) != 0)
            return;
        termios quiet = saved_;
        quiet.c_lflag &= ~(ECHO | ECHOCTL);
        active_ = ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet) == 0;
    }
    ~QuietTerminal()
    {
        if (active_)
            ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    }
    QuietTerminal(const QuietTerminal&) = delete;
    QuietTerminal& operator=(const QuietTerminal&) = delete;

private:
    termios saved_ = {};
    bool active_ = false;
};

// Milliseconds until the clock next shows a new whole second, so redraws stay in step with it.
int millisecondsToNextSecond()
{
    const double now = Clock::now();
    const double fraction = now - std::floor(now);
    return std::max(1, static_cast<int>(std::ceil((1.0 - fraction) * 1000.0)));
}

// True when a signal arrived before the timeout.
bool waitForSignal(int timeoutMs)
{
    pollfd fd = {g_wakePipe[0], POLLIN, 0};
    while (true) {
        const int ready = ::poll(&fd, 1, timeoutMs);
        if (ready > 0)
            return true;
        if (ready == 0)
            return false;
        if (errno != EINTR)
            return true;
    }
}

QByteArray frameForScreen(const QByteArray& block)
{
    // Home, then each line cleared to its end, then everything below: no full-screen flicker
    // and no leftovers when a line gets shorter.
    QByteArray out = "\x1b[H";
    const QList<QByteArray> lines = block.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        out += lines[i] + "\x1b[K";
        if (i + 1 < lines.size())
            out += '\n';
    }
    return out + "\x1b[J";
}

} // namespace

namespace Watch {

bool writeOut(const QByteArray& bytes)
{
    if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) !=
        static_cast<size_t>(bytes.size()))
        return false;
    return std::fflush(stdout) == 0;
}

int run(Mode mode, const std::function<QByteArray()>& render, std::optional<double> startAt)
{
    if (!installSignalPipe())
        return 1;
    const bool redrawInPlace = mode == Mode::screen && ::isatty(STDOUT_FILENO);
    QElapsedTimer elapsed;
    elapsed.start();

    if (redrawInPlace)
        writeOut("\x1b[?25l\x1b[2J");
    {
        // Echo comes back before the cursor does, so whoever sees the cursor sees a sane tty.
        QuietTerminal quiet;
        while (true) {
            if (startAt)
                Clock::freeze(*startAt + static_cast<double>(elapsed.nsecsElapsed()) / 1e9);
            const QByteArray block = render();
            const QByteArray out = redrawInPlace          ? frameForScreen(block)
                                   : mode == Mode::screen ? block + '\n'
                                                          : block;
            if (!writeOut(out))
                break;
            if (waitForSignal(millisecondsToNextSecond()))
                break;
        }
    }
    if (redrawInPlace)
        writeOut("\x1b[?25h");
    return 0;
}

} // namespace Watch
