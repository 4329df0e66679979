// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/TabReport.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>

namespace TabReports {

QByteArray encode(const TabReport& report)
{
    const QJsonObject object{{QStringLiteral("browser"), report.browser},
                             {QStringLiteral("pid"), report.pid},
                             {QStringLiteral("url"), report.url}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<TabReport> decode(const QByteArray& line)
{
    if (line.size() > kMaxLineBytes)
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(line);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue browser = object.value(QStringLiteral("browser"));
    const QJsonValue url = object.value(QStringLiteral("url"));
    if (!browser.isString() || browser.toString().isEmpty() || !url.isString())
        return std::nullopt;
    const double pid = object.value(QStringLiteral("pid")).toDouble(0);
    return TabReport{browser.toString(), pid >= 1 && pid < 4194305 ? qint64(pid) : 0,
                     url.toString()};
}

namespace {

// The folder is ours only if it is a real folder (not a link someone placed), owned by this user
// and closed to everyone else; one of ours with looser rights is closed again.
bool privateFolder(const QByteArray& path)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st = {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0)
        return false;
    return true;
}

} // namespace

QString socketPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(QStringLiteral("tockwork-browser.sock"));
    const QString folder =
        QDir(QDir::tempPath()).filePath(QStringLiteral("tockwork-%1").arg(::getuid()));
    if (!privateFolder(QFile::encodeName(folder))) {
        qWarning(
            "tockwork: %s is not a private folder of this user; browser tabs are not passed on",
            qPrintable(folder));
        return {};
    }
    return QDir(folder).filePath(QStringLiteral("browser.sock"));
}

bool peerIsThisUser(qintptr socketDescriptor)
{
    ucred peer = {};
    socklen_t size = sizeof peer;
    if (socketDescriptor < 0 ||
        ::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == ::getuid();
}

} // namespace TabReports
