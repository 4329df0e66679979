// SPDX-License-Identifier: GPL-3.0-or-later
// tockwork-browser-host: started by a browser for our extension (native messaging). It reads the
// extension's reports of the focused window's active tab from standard input and hands the latest
// to the running TockWork over its local socket. Nothing is written to disk or sent elsewhere.
#include "browser/BrowserSupport.h"
#include "browser/KnownBrowsers.h"
#include "browser/NativeMessaging.h"
#include "browser/TabReport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonObject>
#include <QLocalSocket>

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr int kRetryMs = 2000;
constexpr int kSocketWaitMs = 300;
constexpr qsizetype kMaxUrlChars = 8192;

// The browser is the process that started us; its window carries the same process id.
QString browserOf(pid_t parent)
{
    const QString exe =
        QFileInfo(QFileInfo(QStringLiteral("/proc/%1/exe").arg(parent)).symLinkTarget()).fileName();
    if (const auto known = KnownBrowsers::nameForExecutable(exe))
        return *known;
    return exe.isEmpty() ? QStringLiteral("unknown") : exe;
}

class Forwarder final
{
public:
    explicit Forwarder(TabReport identity) : latest_(std::move(identity)) {}

    void report(const QString& url)
    {
        latest_.url = url.left(kMaxUrlChars);
        pending_ = true;
        send();
    }

    // The application may start after the browser, or restart: what it has not received yet is
    // sent again until it arrives.
    void send()
    {
        if (!pending_)
            return;
        if (socket_.state() != QLocalSocket::ConnectedState) {
            socket_.abort();
            const QString path = TabReports::socketPath();
            if (path.isEmpty())
                return;
            socket_.connectToServer(path);
            if (!socket_.waitForConnected(kSocketWaitMs))
                return;
            // An address goes only to a TockWork of this same user, whoever made the socket.
            if (!TabReports::peerIsThisUser(socket_.socketDescriptor())) {
                socket_.abort();
                return;
            }
        }
        socket_.write(TabReports::encode(latest_));
        if (socket_.waitForBytesWritten(kSocketWaitMs) && socket_.bytesToWrite() == 0)
            pending_ = false;
        else
            socket_.abort();
    }

private:
    TabReport latest_;
    bool pending_ = false;
    QLocalSocket socket_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Run by hand or by `cmake --install`: register this very program with the browsers.
    if (argc == 2 && std::strcmp(argv[1], "--install") == 0)
        return BrowserSupport::installAndTell(
            BrowserSupport::locate(QCoreApplication::applicationDirPath()));
    const pid_t parent = ::getppid();
    Forwarder forwarder(TabReport{browserOf(parent), parent, {}});
    NativeMessaging::Decoder decoder;
    char buffer[16384];
    for (;;) {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        const int ready = ::poll(&input, 1, kRetryMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            forwarder.send();
            continue;
        }
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return 0; // the browser closed the port
        decoder.feed(QByteArrayView(buffer, n));
        while (const auto item = decoder.next()) {
            if (const auto* oversized = std::get_if<NativeMessaging::Oversized>(&*item)) {
                std::fprintf(stderr,
                             "tockwork-browser-host: refusing a message of %u bytes (at most %u); "
                             "the stream is no longer framed, stopping\n",
                             oversized->length, NativeMessaging::kMaxMessageBytes);
                return 1;
            }
            const auto* message = std::get_if<QJsonObject>(&*item);
            const QJsonValue url = message ? message->value(QStringLiteral("url")) : QJsonValue();
            if (!url.isString()) {
                std::fputs("tockwork-browser-host: ignoring a message without an address\n",
                           stderr);
                continue;
            }
            forwarder.report(url.toString());
        }
    }
}
