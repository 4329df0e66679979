// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracker/BrowserTabs.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QVariant>

namespace {

constexpr qsizetype kMaxProcesses = 16;
constexpr qsizetype kMaxBrowsers = 16;

} // namespace

BrowserTabs::BrowserTabs(QObject* parent) : QObject(parent)
{}

BrowserTabs::~BrowserTabs() = default;

bool BrowserTabs::listen(const QString& path)
{
    const QString where = path.isEmpty() ? TabReports::socketPath() : path;
    if (where.isEmpty())
        return false; // no place only this user can reach: said by socketPath()
    delete server_;
    server_ = new QLocalServer(this);
    // Only this user may hand us addresses (the runtime folder is private too; /tmp is not).
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->setMaxPendingConnections(kMaxClients);
    // A socket already there is one left by a crash, unless someone still answers on it (another
    // copy of the application, e.g. a test run beside the user's own): that one is left alone.
    QLocalSocket probe;
    probe.connectToServer(where);
    if (probe.waitForConnected(100)) {
        if (TabReports::peerIsThisUser(probe.socketDescriptor()))
            qWarning("tockwork: browser tabs are already received at %s", qPrintable(where));
        else
            qWarning("tockwork: %s is served by another user; browser tabs are not received",
                     qPrintable(where));
        return false;
    }
    QLocalServer::removeServer(where);
    if (!server_->listen(where)) {
        qWarning("tockwork: browser tabs cannot be received at %s: %s", qPrintable(where),
                 qPrintable(server_->errorString()));
        return false;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection())
            admit(socket);
    });
    return true;
}

void BrowserTabs::admit(QLocalSocket* socket)
{
    // The folder's rights keep other users out; the peer's own credentials are checked as well.
    if (!TabReports::peerIsThisUser(socket->socketDescriptor())) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    // Full: the longest-silent connection gives way, so idle ones never keep the host out.
    if (clients_ >= kMaxClients && !silent_.isEmpty())
        drop(silent_.first());
    if (clients_ >= kMaxClients) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    ++clients_;
    silent_.append(socket);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] { drop(socket); });
    QTimer::singleShot(kSilentTimeoutMs, socket, [this, socket] {
        if (silent_.contains(socket))
            drop(socket);
    });
}

void BrowserTabs::drop(QLocalSocket* socket)
{
    silent_.removeOne(socket);
    // Counted once however it ends: by us, by the peer, or both.
    if (socket->property("dropped").toBool())
        return;
    socket->setProperty("dropped", true);
    --clients_;
    disconnect(socket, nullptr, this, nullptr);
    socket->abort();
    socket->deleteLater();
}

QString BrowserTabs::path() const
{
    return server_ ? server_->fullServerName() : QString();
}

void BrowserTabs::read(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(TabReports::kMaxLineBytes + 1);
        if (const auto report = TabReports::decode(line.trimmed())) {
            silent_.removeOne(socket);
            accept(*report);
        }
    }
    // A line that never ends is not a report: whoever sends it is cut off.
    if (socket->bytesAvailable() > TabReports::kMaxLineBytes)
        drop(socket);
}

void BrowserTabs::accept(const TabReport& report)
{
    if (!byBrowser_.contains(report.browser) && byBrowser_.size() >= kMaxBrowsers)
        return;
    byBrowser_.insert(report.browser, report.url);
    if (report.pid > 0) {
        byProcess_.removeIf([&](const TabReport& r) { return r.pid == report.pid; });
        byProcess_.append(report);
        if (byProcess_.size() > kMaxProcesses)
            byProcess_.removeFirst();
    }
    if (!connected_.contains(report.browser)) {
        connected_.insert(report.browser);
        Q_EMIT browserConnected(report.browser);
    }
}

std::optional<QString> BrowserTabs::latest(const QString& browser, qint64 pid) const
{
    if (pid > 0) {
        for (const TabReport& r : byProcess_) {
            if (r.pid == pid)
                return r.url;
        }
    }
    if (const auto it = byBrowser_.constFind(browser); it != byBrowser_.constEnd())
        return *it;
    return std::nullopt;
}

QStringList BrowserTabs::connectedBrowsers() const
{
    QStringList names(connected_.cbegin(), connected_.cend());
    names.sort();
    return names;
}

QStringList browserAddressLines(const QStringList& connectedBrowsers)
{
    if (connectedBrowsers.isEmpty())
        return {QStringLiteral("· 브라우저는 창 제목으로 (확장 설치 시 주소)")};
    QString names = connectedBrowsers.mid(0, 2).join(QStringLiteral(", "));
    if (connectedBrowsers.size() > 2)
        names += QStringLiteral(" 외 %1").arg(connectedBrowsers.size() - 2);
    return {QStringLiteral("· 주소까지 보는 브라우저: ") + names};
}
