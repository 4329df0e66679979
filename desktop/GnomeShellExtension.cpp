// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/GnomeShellExtension.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace GnomeShellExtension {

namespace {

const QStringList& extensionFiles()
{
    static const QStringList files{u"extension.js"_s, u"metadata.json"_s};
    return files;
}

bool copyFile(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray contents = in.readAll();
    // Written whole or not at all: a running Shell may read the folder at any moment.
    QSaveFile out(to);
    return out.open(QIODevice::WriteOnly) && out.write(contents) == contents.size() && out.commit();
}

} // namespace

int majorVersion(const QString& versionOutput)
{
    static const QRegularExpression pattern(u"GNOME Shell (\\d+)"_s);
    const QRegularExpressionMatch match = pattern.match(versionOutput);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

int installedMajorVersion()
{
    QProcess shell;
    shell.start(u"gnome-shell"_s, {u"--version"_s});
    if (!shell.waitForFinished(10000)) {
        shell.kill();
        shell.waitForFinished();
        return 0;
    }
    return majorVersion(QString::fromUtf8(shell.readAllStandardOutput()));
}

QString flavourFor(int major)
{
    if (major >= 45)
        return u"45"_s;
    if (major >= 43)
        return u"43"_s;
    return {};
}

QString locate(const QString& programDir)
{
    const QDir dir(programDir);
    const QString probe = u"/45/"_s + QString::fromLatin1(kUuid) + u"/metadata.json"_s;
    for (const QString& candidate :
         {dir.filePath(u"gnome-shell"_s), dir.filePath(u"../share/tockwork/gnome-shell"_s),
          dir.filePath(u"../../share/tockwork/gnome-shell"_s)}) {
        if (QFileInfo::exists(candidate + probe))
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

Result install(const QString& flavoursDir, int shellMajor, const QString& dataHome)
{
    Result result;
    result.shellMajor = shellMajor;
    result.folder =
        QDir(dataHome).filePath(u"gnome-shell/extensions/"_s + QString::fromLatin1(kUuid));
    if (shellMajor <= 0) {
        result.outcome = Result::Outcome::noShell;
        return result;
    }
    const QString flavour = flavourFor(shellMajor);
    if (flavour.isEmpty()) {
        result.outcome = Result::Outcome::unsupported;
        return result;
    }
    const QDir from(QDir(flavoursDir).filePath(flavour + u'/' + QString::fromLatin1(kUuid)));
    for (const QString& file : extensionFiles()) {
        if (flavoursDir.isEmpty() || !from.exists(file)) {
            result.outcome = Result::Outcome::missingFiles;
            return result;
        }
    }
    if (!QDir().mkpath(result.folder)) {
        result.outcome = Result::Outcome::failed;
        return result;
    }
    for (const QString& file : extensionFiles()) {
        if (!copyFile(from.filePath(file), QDir(result.folder).filePath(file))) {
            result.outcome = Result::Outcome::failed;
            return result;
        }
    }
    result.outcome = Result::Outcome::installed;
    return result;
}

Result installForUser(const QString& flavoursDir)
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::home().filePath(u".local/share"_s);
    return install(flavoursDir, installedMajorVersion(), dataHome);
}

QString instructions(const Result& result)
{
    const QString uuid = QString::fromLatin1(kUuid);
    switch (result.outcome) {
    case Result::Outcome::noShell:
        return u"GNOME Shell: 이 컴퓨터에 없어서 GNOME 확장은 건너뛰었어요.\n"_s;
    case Result::Outcome::unsupported:
        return u"GNOME Shell %1: 지원하지 않는 버전이에요 (43 이상이 필요해요). 앞에 있는 창은 "
               u"X11 창만 알 수 있어요.\n"_s.arg(result.shellMajor);
    case Result::Outcome::missingFiles:
        return u"GNOME Shell 확장: 확장 파일을 찾지 못했어요. 설치를 확인해 주세요.\n"_s;
    case Result::Outcome::failed:
        return u"GNOME Shell 확장: 쓰지 못했어요 (%1)\n"_s.arg(result.folder);
    case Result::Outcome::installed:
        break;
    }
    return u"GNOME Shell 확장: %1\n"
           u"- 켜기: gnome-extensions enable %2\n"
           u"- Wayland 세션에서는 새로 설치한 확장이 로그아웃했다가 다시 로그인한 뒤에야 보여요. "
           u"다시 로그인한 다음 위 명령으로 켜 주세요.\n"
           u"확장은 앞에 있는 창의 앱 이름과 제목을 톡웍에만 알려 줘요. 이 컴퓨터 밖으로 나가지 "
           u"않아요.\n"_s.arg(result.folder, uuid);
}

} // namespace GnomeShellExtension
