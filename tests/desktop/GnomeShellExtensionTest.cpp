// SPDX-License-Identifier: GPL-3.0-or-later
// The extension's flavour chosen by the Shell's version, copied where the Shell looks for it, and
// the real `tockwork --install-desktop-support` run with a stand-in gnome-shell on its PATH.
#include "desktop/GnomeShellExtension.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Outcome = GnomeShellExtension::Result::Outcome;

namespace {

const QString kUuid = QString::fromLatin1(GnomeShellExtension::kUuid);

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList shellVersions(const QString& metadataPath)
{
    QStringList versions;
    for (const auto& v :
         QJsonDocument::fromJson(readAll(metadataPath))[u"shell-version"_s].toArray())
        versions.append(v.toString());
    return versions;
}

struct VersionCase
{
    const char* output;
    int major;
    const char* flavour;
};

void PrintTo(const VersionCase& c, std::ostream* os)
{
    *os << '"' << c.output << '"';
}

class ShellVersion : public testing::TestWithParam<VersionCase>
{};

TEST_P(ShellVersion, PicksTheFlavourTheShellLoads)
{
    const VersionCase c = GetParam();
    const int major = GnomeShellExtension::majorVersion(QString::fromUtf8(c.output));
    EXPECT_EQ(major, c.major) << c.output;
    EXPECT_EQ(GnomeShellExtension::flavourFor(major), QString::fromLatin1(c.flavour)) << c.output;
}

INSTANTIATE_TEST_SUITE_P(GnomeShellExtension, ShellVersion,
                         testing::Values(VersionCase{"GNOME Shell 43.9\n", 43, "43"},
                                         VersionCase{"GNOME Shell 44.10", 44, "43"},
                                         VersionCase{"GNOME Shell 45.0", 45, "45"},
                                         VersionCase{"GNOME Shell 47.beta", 47, "45"},
                                         VersionCase{"GNOME Shell 3.38.4", 3, ""},
                                         VersionCase{"GNOME Shell 42.5", 42, ""},
                                         VersionCase{"bash: gnome-shell: command not found", 0, ""},
                                         VersionCase{"", 0, ""}));

class GnomeShellExtensionInstall : public testing::Test
{
protected:
    QTemporaryDir data;
    const QString built = GnomeShellExtension::locate(QStringLiteral(TOCKWORK_BIN_DIR));
    QString target() const { return data.filePath(u"gnome-shell/extensions/"_s + kUuid); }
};

// Both flavours come out of the build, each a whole extension the Shell of its versions accepts.
TEST_F(GnomeShellExtensionInstall, EachShellGetsItsOwnFlavour)
{
    ASSERT_FALSE(built.isEmpty()) << "the build put no extension beside the executables";

    auto result = GnomeShellExtension::install(built, 43, data.path());
    ASSERT_EQ(result.outcome, Outcome::installed);
    EXPECT_EQ(result.folder, target());
    QByteArray script = readAll(target() + u"/extension.js"_s);
    EXPECT_TRUE(script.contains("imports.gi")) << "43 loads scripts, not modules";
    EXPECT_FALSE(script.contains("export default"));
    EXPECT_TRUE(script.contains("class FocusedWindowService")) << "the shared part is missing";
    EXPECT_EQ(
        QJsonDocument::fromJson(readAll(target() + u"/metadata.json"_s))[u"uuid"_s].toString(),
        kUuid)
        << "the Shell ignores a folder whose name is not the metadata's uuid";
    EXPECT_EQ(shellVersions(target() + u"/metadata.json"_s), (QStringList{u"43"_s, u"44"_s}));

    // An upgraded Shell: the same folder now holds the module flavour, nothing of the old one.
    result = GnomeShellExtension::install(built, 46, data.path());
    ASSERT_EQ(result.outcome, Outcome::installed);
    script = readAll(target() + u"/extension.js"_s);
    EXPECT_TRUE(script.contains("export default class"));
    EXPECT_FALSE(script.contains("imports.gi"));
    EXPECT_TRUE(script.contains("class FocusedWindowService"));
    EXPECT_TRUE(shellVersions(target() + u"/metadata.json"_s).contains(u"46"_s));
    EXPECT_FALSE(shellVersions(target() + u"/metadata.json"_s).contains(u"44"_s));

    const QString told = GnomeShellExtension::instructions(result);
    EXPECT_TRUE(told.contains(u"gnome-extensions enable tockwork@tockwork.app"_s))
        << told.toStdString();
    EXPECT_TRUE(told.contains(target()));
}

// Nothing is written where there is nothing to install or it cannot be installed, and each case
// tells the user something of its own.
TEST_F(GnomeShellExtensionInstall, WritesNothingWhereItCannotApply)
{
    EXPECT_EQ(GnomeShellExtension::install(built, 0, data.path()).outcome, Outcome::noShell);
    EXPECT_EQ(GnomeShellExtension::install(built, 42, data.path()).outcome, Outcome::unsupported);
    EXPECT_EQ(GnomeShellExtension::install(QString(), 43, data.path()).outcome,
              Outcome::missingFiles);
    EXPECT_EQ(GnomeShellExtension::install(data.path(), 43, data.path()).outcome,
              Outcome::missingFiles);
    EXPECT_FALSE(QFileInfo::exists(data.filePath(u"gnome-shell"_s)));

    // A data folder that is a file: the extensions folder cannot be made.
    QFile blocker(data.filePath(u"blocked"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto failed = GnomeShellExtension::install(built, 43, blocker.fileName());
    EXPECT_EQ(failed.outcome, Outcome::failed);
    EXPECT_TRUE(GnomeShellExtension::instructions(failed).contains(failed.folder));

    QStringList texts;
    for (auto outcome : {Outcome::noShell, Outcome::unsupported, Outcome::missingFiles,
                         Outcome::failed, Outcome::installed})
        texts.append(GnomeShellExtension::instructions({outcome, 42, u"/x"_s}));
    texts.removeDuplicates();
    EXPECT_EQ(texts.size(), 5);
}

class InstallDesktopSupport : public testing::Test
{
protected:
    QTemporaryDir home;

    // Runs the real executable in a home of its own; `shellVersion` is what a stand-in gnome-shell
    // on the PATH prints, none when there is no gnome-shell at all.
    QString run(const QString& option, const QByteArray& shellVersion, int* exitCode)
    {
        const QString bin = home.filePath(u"bin"_s);
        QDir().mkpath(bin);
        if (!shellVersion.isEmpty()) {
            QFile shell(bin + u"/gnome-shell"_s);
            EXPECT_TRUE(shell.open(QIODevice::WriteOnly));
            shell.write("#!/bin/sh\necho '" + shellVersion + "'\n");
            shell.close();
            shell.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        // A browser's settings folder, so the browser half has something to write.
        QDir().mkpath(home.filePath(u"config/chromium"_s));
        QProcessEnvironment env;
        env.insert(u"HOME"_s, home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
        env.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
        // Only the stand-in: a gnome-shell installed on this machine must not answer instead.
        env.insert(u"PATH"_s, bin);
        QProcess tockwork;
        tockwork.setProcessEnvironment(env);
        tockwork.start(QStringLiteral(TOCKWORK_EXE), {option});
        EXPECT_TRUE(tockwork.waitForFinished(30000));
        *exitCode = tockwork.exitCode();
        return QString::fromUtf8(tockwork.readAllStandardOutput());
    }
    QString installed() const
    {
        return home.filePath(u"data/gnome-shell/extensions/"_s + kUuid + u"/extension.js"_s);
    }
};

TEST_F(InstallDesktopSupport, InstallsTheExtensionBesideTheBrowserHost)
{
    int code = -1;
    const QString told = run(u"--install-desktop-support"_s, "GNOME Shell 43.9", &code);
    EXPECT_EQ(code, 0) << told.toStdString();
    EXPECT_TRUE(QFileInfo::exists(
        home.filePath(u"config/chromium/NativeMessagingHosts/app.tockwork.browser.json"_s)));
    EXPECT_TRUE(readAll(installed()).contains("imports.gi"));
    EXPECT_TRUE(told.contains(u"gnome-extensions enable tockwork@tockwork.app"_s))
        << told.toStdString();
    EXPECT_TRUE(told.contains(u"다시 로그인"_s));
}

TEST_F(InstallDesktopSupport, WithoutGnomeShellOnlyTheBrowsersAreSetUp)
{
    int code = -1;
    const QString told = run(u"--install-desktop-support"_s, {}, &code);
    EXPECT_EQ(code, 0) << told.toStdString();
    EXPECT_FALSE(QFileInfo::exists(installed()));
    EXPECT_TRUE(told.contains(u"건너뛰었어요"_s)) << told.toStdString();
}

TEST_F(InstallDesktopSupport, BrowserSupportAloneLeavesTheShellAlone)
{
    int code = -1;
    const QString told = run(u"--install-browser-support"_s, "GNOME Shell 45.1", &code);
    EXPECT_EQ(code, 0) << told.toStdString();
    EXPECT_TRUE(QFileInfo::exists(
        home.filePath(u"config/chromium/NativeMessagingHosts/app.tockwork.browser.json"_s)));
    EXPECT_FALSE(QFileInfo::exists(installed()));
    EXPECT_FALSE(told.contains(u"GNOME"_s));
}

} // namespace
