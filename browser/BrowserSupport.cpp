// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/BrowserSupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace BrowserSupport {

namespace {

struct Target
{
    QString browser;
    QString configFolder; // under the config home; empty for Firefox
    QStringList programs; // on PATH
    bool firefox = false;
};

const QList<Target>& targets()
{
    static const QList<Target> list{
        {u"Google Chrome"_s, u"google-chrome"_s, {u"google-chrome"_s, u"google-chrome-stable"_s}},
        {u"Google Chrome Beta"_s, u"google-chrome-beta"_s, {u"google-chrome-beta"_s}},
        {u"Google Chrome Dev"_s, u"google-chrome-unstable"_s, {u"google-chrome-unstable"_s}},
        {u"Google Chrome Canary"_s, u"google-chrome-canary"_s, {u"google-chrome-canary"_s}},
        {u"Chromium"_s, u"chromium"_s, {u"chromium"_s, u"chromium-browser"_s}},
        {u"Brave Browser"_s, u"BraveSoftware/Brave-Browser"_s, {u"brave-browser"_s}},
        {u"Brave Beta"_s, u"BraveSoftware/Brave-Browser-Beta"_s, {u"brave-browser-beta"_s}},
        {u"Brave Nightly"_s,
         u"BraveSoftware/Brave-Browser-Nightly"_s,
         {u"brave-browser-nightly"_s}},
        {u"Microsoft Edge"_s,
         u"microsoft-edge"_s,
         {u"microsoft-edge"_s, u"microsoft-edge-stable"_s}},
        {u"Microsoft Edge Beta"_s, u"microsoft-edge-beta"_s, {u"microsoft-edge-beta"_s}},
        {u"Microsoft Edge Dev"_s, u"microsoft-edge-dev"_s, {u"microsoft-edge-dev"_s}},
        {u"Whale"_s, u"naver-whale"_s, {u"naver-whale"_s}},
        {u"Opera"_s, u"opera"_s, {u"opera"_s}},
        {u"Vivaldi"_s, u"vivaldi"_s, {u"vivaldi"_s, u"vivaldi-stable"_s}},
        {u"Vivaldi Snapshot"_s, u"vivaldi-snapshot"_s, {u"vivaldi-snapshot"_s}},
        // Every Firefox channel reads the hosts of the one ~/.mozilla folder.
        {u"Firefox"_s,
         {},
         {u"firefox"_s, u"firefox-esr"_s, u"firefox-devedition"_s, u"firefox-developer-edition"_s,
          u"firefox-nightly"_s, u"firefox-trunk"_s},
         true},
    };
    return list;
}

QJsonObject commonManifest(const QString& hostPath)
{
    return {{u"name"_s, QString::fromLatin1(kHostName)},
            {u"description"_s, u"TockWork: the focused tab's address, for this computer only"_s},
            {u"path"_s, hostPath},
            {u"type"_s, u"stdio"_s}};
}

bool found(const Target& target, const QString& home, const QString& configHome)
{
    const QString settings = target.firefox ? QDir(home).filePath(u".mozilla"_s)
                                            : QDir(configHome).filePath(target.configFolder);
    if (QDir(settings).exists())
        return true;
    for (const QString& program : target.programs) {
        if (!QStandardPaths::findExecutable(program).isEmpty())
            return true;
    }
    return false;
}

bool writeFile(const QString& path, const QByteArray& contents)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() &&
           file.commit();
}

} // namespace

QByteArray chromiumManifest(const QString& hostPath)
{
    QJsonObject manifest = commonManifest(hostPath);
    manifest[u"allowed_origins"_s] =
        QJsonArray{u"chrome-extension://%1/"_s.arg(QString::fromLatin1(kChromiumExtensionId))};
    return QJsonDocument(manifest).toJson();
}

QByteArray firefoxManifest(const QString& hostPath)
{
    QJsonObject manifest = commonManifest(hostPath);
    manifest[u"allowed_extensions"_s] = QJsonArray{QString::fromLatin1(kFirefoxExtensionId)};
    return QJsonDocument(manifest).toJson();
}

Result install(const QString& hostPath, const QString& home, const QString& configHome)
{
    Result result;
    const QString fileName = QString::fromLatin1(kHostName) + u".json"_s;
    for (const Target& target : targets()) {
        if (!found(target, home, configHome))
            continue;
        const QString path =
            target.firefox
                ? QDir(home).filePath(u".mozilla/native-messaging-hosts/"_s + fileName)
                : QDir(configHome)
                      .filePath(target.configFolder + u"/NativeMessagingHosts/"_s + fileName);
        const bool ok = writeFile(path, target.firefox ? firefoxManifest(hostPath)
                                                       : chromiumManifest(hostPath));
        (ok ? result.written : result.failed).append(Written{target.browser, path});
    }
    return result;
}

Result installForUser(const QString& hostPath)
{
    const QString home = QDir::homePath();
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || QDir::isRelativePath(configHome))
        configHome = QDir(home).filePath(u".config"_s);
    return install(hostPath, home, configHome);
}

QString instructions(const Result& result, const QString& hostPath, const QString& extensionDir)
{
    QString text;
    if (result.written.isEmpty() && result.failed.isEmpty())
        text += u"브라우저를 찾지 못했어요 (Chrome, Chromium, Brave, Edge, Whale, Opera, Vivaldi, "
                u"Firefox). 브라우저를 설치한 뒤 다시 실행해 주세요.\n"_s;
    for (const Written& w : result.written)
        text += u"%1: %2\n"_s.arg(w.browser, w.manifestPath);
    for (const Written& w : result.failed)
        text += u"%1: 쓰지 못했어요 (%2)\n"_s.arg(w.browser, w.manifestPath);
    if (!QFileInfo(hostPath).isExecutable())
        text += u"주의: 연결 프로그램 %1 이(가) 없어요. 설치를 확인해 주세요.\n"_s.arg(hostPath);
    text += u"\n확장 프로그램 폴더: %1\n"_s.arg(extensionDir);
    text +=
        u"- Chrome 계열 (Chrome, Chromium, Brave, Edge, Whale, Opera, Vivaldi): "
        u"확장 프로그램 관리 화면(chrome://extensions 등)에서 '개발자 모드'를 켜고 "
        u"'압축해제된 확장 프로그램을 로드합니다'로 위 폴더를 고르세요.\n"
        u"- Firefox: about:debugging → '이 Firefox' → '임시 부가 기능 로드'로 위 폴더의 "
        u"manifest.json을 고르세요. 임시 부가 기능은 Firefox를 다시 시작하면 사라져요 "
        u"(서명되지 않은 확장은 Firefox ESR에서도 영구 설치되지 않아요).\n"
        u"확장이 없으면 창 제목으로 사이트를 짐작해요. 주소는 이 컴퓨터 밖으로 나가지 않아요.\n"_s;
    return text;
}

Layout locate(const QString& programDir)
{
    const QDir dir(programDir);
    const QString hostName = u"tockwork-browser-host"_s;
    Layout layout;
    for (const QString& candidate :
         {dir.filePath(hostName), dir.filePath(u"../libexec/tockwork/"_s + hostName)}) {
        if (QFileInfo(candidate).isExecutable()) {
            layout.hostPath = QFileInfo(candidate).canonicalFilePath();
            break;
        }
    }
    if (layout.hostPath.isEmpty())
        layout.hostPath = dir.filePath(hostName);
    for (const QString& candidate : {dir.filePath(u"browser-extension"_s),
                                     dir.filePath(u"../share/tockwork/browser-extension"_s),
                                     dir.filePath(u"../../share/tockwork/browser-extension"_s)}) {
        if (QFileInfo::exists(candidate + u"/manifest.json"_s)) {
            layout.extensionDir = QFileInfo(candidate).canonicalFilePath();
            break;
        }
    }
    return layout;
}

int installAndTell(const Layout& layout)
{
    const Result result = installForUser(layout.hostPath);
    const QString extension = layout.extensionDir.isEmpty()
                                  ? u"(찾지 못했어요: 설치를 확인해 주세요)"_s
                                  : layout.extensionDir;
    std::fputs(instructions(result, layout.hostPath, extension).toUtf8().constData(), stdout);
    return result.written.isEmpty() ? 1 : 0;
}

} // namespace BrowserSupport
