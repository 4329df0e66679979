// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the browsers' system-wide native-messaging host manifests for the package, the same
// manifests `tockwork --install-browser-support` writes for one user:
//
//   tockwork-host-manifests <host program as installed> <staging folder>
//
// Each Chromium-family browser reads its own folder under /etc, where a regular file would be a
// configuration file dpkg keeps after removal; so the manifest lives once under the package's
// share folder and the /etc entries are links to it (packaging/debian/postinst adds /etc/opt's).
// Firefox (every channel) reads /usr/lib/mozilla/native-messaging-hosts.
#include "browser/BrowserSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

// Where each browser looks for every user's hosts, outside /etc/opt. The vendors' builds (Google
// Chrome, Edge, Brave, Vivaldi, Opera, Whale) read /etc/opt/<browser>/native-messaging-hosts,
// which Debian keeps for packages under /opt; the package's postinst links those.
const char* const kChromiumFolders[] = {
    "/etc/chromium/native-messaging-hosts", // Chromium, Debian's and Ubuntu's
    "/etc/brave/native-messaging-hosts",    // Brave as some distributions build it
    "/etc/vivaldi/native-messaging-hosts",  // Vivaldi, likewise
    "/etc/opera/native-messaging-hosts",    // Opera, likewise
};
const char kFirefoxFolder[] = "/usr/lib/mozilla/native-messaging-hosts";
const char kShared[] = "/usr/share/tockwork/native-messaging-hosts/chromium";

bool write(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(contents) == contents.size();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fputs("usage: tockwork-host-manifests <host program> <staging folder>\n", stderr);
        return 2;
    }
    const QString host = args[1];
    const QString root = args[2];
    const QString name = QString::fromLatin1(BrowserSupport::kHostName) + QLatin1String(".json");
    const QString shared = QLatin1String(kShared) + u'/' + name;
    bool ok = write(root + shared, BrowserSupport::chromiumManifest(host)) &&
              write(root + QLatin1String(kFirefoxFolder) + u'/' + name,
                    BrowserSupport::firefoxManifest(host));
    for (const char* folder : kChromiumFolders) {
        const QString link = root + QLatin1String(folder) + u'/' + name;
        QFile::remove(link);
        ok = ok && QDir().mkpath(QFileInfo(link).path()) && QFile::link(shared, link);
    }
    if (!ok)
        std::fprintf(stderr, "tockwork-host-manifests: cannot write under %s\n", qPrintable(root));
    return ok ? 0 : 1;
}
