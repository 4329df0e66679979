// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LoginItem.h"
#include "platform/linux/DesktopExec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class LoginItemTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(config.isValid());
        previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previous); }

    QString entryPath() const
    {
        return config.filePath(QStringLiteral("autostart/tockwork.desktop"));
    }
    QByteArray entry() const
    {
        QFile file(entryPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeEntry(const QByteArray& text)
    {
        QDir().mkpath(QFileInfo(entryPath()).path());
        QFile file(entryPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir config;
    QByteArray previous;
};

TEST_F(LoginItemTest, RegisteringWritesAnEntryThatStartsThisProgram)
{
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::notRegistered);
    // Reading the state never creates anything.
    EXPECT_FALSE(QFileInfo::exists(config.filePath(QStringLiteral("autostart"))));

    QString error;
    ASSERT_TRUE(LoginItem::registerItem(&error)) << error.toStdString();
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::enabled);
    const QByteArray text = entry();
    for (const QByteArray& line :
         {QByteArray("[Desktop Entry]\n"), QByteArray("Type=Application\n"),
          QByteArray("Name=톡웍\n"), QByteArray("Icon=org.tockwork.TockWork\n"),
          QByteArray("X-GNOME-Autostart-enabled=true\n")})
        EXPECT_TRUE(text.contains(line)) << line.constData();
    const QByteArray exec = "Exec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\"\n";
    EXPECT_TRUE(text.contains(exec)) << text.constData();
}

TEST_F(LoginItemTest, EntryOfAnotherProgramIsReplaced)
{
    writeEntry("[Desktop Entry]\nType=Application\nName=톡웍\nExec=/opt/old/tockwork\n");
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::notRegistered);
    ASSERT_TRUE(LoginItem::registerItem());
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::enabled);
}

// GNOME's and other desktops' ways of switching an autostart entry off.
TEST_F(LoginItemTest, EntrySwitchedOffByTheUserIsKeptAndCountsAsRegistered)
{
    for (const QByteArray& switchOff :
         {QByteArray("Hidden=true\n"), QByteArray("X-GNOME-Autostart-enabled=false\n")}) {
        const QByteArray text = "[Desktop Entry]\nType=Application\nExec=\"" +
                                QCoreApplication::applicationFilePath().toUtf8() + "\"\n" +
                                switchOff;
        writeEntry(text);
        EXPECT_EQ(LoginItem::status(), LoginItem::Status::disabledByUser) << switchOff.constData();
        EXPECT_TRUE(LoginItem::registerItem());
        EXPECT_EQ(entry(), text);
    }
}

TEST_F(LoginItemTest, ProgramInAnOddFolderIsQuotedSoDesktopsStartIt)
{
    // A copy of this binary where the path needs every kind of quoting.
    const QString folder = config.filePath(QStringLiteral("내 프로그램 \"new\" $HOME `x` 100%"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString copy = folder + QLatin1String("/tockwork-copy");
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), copy));
    const auto runCopy = [&](const QString& mode) {
        QProcess process;
        process.start(copy, {QStringLiteral("--login-item"), mode});
        process.waitForFinished(10000);
        return process.readAllStandardOutput().trimmed();
    };
    ASSERT_EQ(runCopy(QStringLiteral("register")), "ok");
    EXPECT_EQ(runCopy(QStringLiteral("status")), "enabled");
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::notRegistered); // not this binary's entry
    const QString exec =
        QString::fromUtf8(entry()).section(QStringLiteral("Exec="), 1).section(u'\n', 0, 0);
    EXPECT_EQ(DesktopExec::arguments(exec), QStringList{copy});
}

// A build tree's program (CMake's cache beside it) and an installed one (`tockwork` on the PATH,
// as the package's /usr/bin/tockwork is): whichever runs, the entry starts the installed one.
TEST_F(LoginItemTest, InstalledProgramWinsOverABuildTree)
{
    const QString build = config.filePath(QStringLiteral("build"));
    const QString bin = config.filePath(QStringLiteral("usr/bin"));
    ASSERT_TRUE(QDir().mkpath(build) && QDir().mkpath(bin));
    QFile cache(build + QLatin1String("/CMakeCache.txt"));
    ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
    cache.close();
    const QString built = build + QLatin1String("/tockwork");
    const QString installed = bin + QLatin1String("/tockwork");
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), built));
    const auto run = [&](const QString& program, const QString& mode, bool installedOnPath) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PATH"),
                   (installedOnPath ? bin + u':' : QString()) + QStringLiteral("/usr/bin:/bin"));
        process.setProcessEnvironment(env);
        process.start(program, {QStringLiteral("--login-item"), mode});
        process.waitForFinished(10000);
        return process.readAllStandardOutput().trimmed();
    };
    const auto started = [&] {
        const QString exec =
            QString::fromUtf8(entry()).section(QStringLiteral("Exec="), 1).section(u'\n', 0, 0);
        return DesktopExec::program(exec);
    };

    // Nothing installed: the build tree starts itself, as it always has.
    ASSERT_EQ(run(built, QStringLiteral("register"), false), "ok");
    EXPECT_EQ(started(), built);

    // Installed beside it: the installed one takes the entry over, and the build leaves it so.
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), installed));
    EXPECT_EQ(run(installed, QStringLiteral("status"), true), "not enabled");
    ASSERT_EQ(run(installed, QStringLiteral("register"), true), "ok");
    EXPECT_EQ(started(), installed);
    const QByteArray written = entry();
    EXPECT_EQ(run(built, QStringLiteral("status"), true), "enabled");
    ASSERT_EQ(run(built, QStringLiteral("register"), true), "ok");
    EXPECT_EQ(entry(), written);

    // A build's entry from before the install is handed to the installed program by the build.
    writeEntry("[Desktop Entry]\nType=Application\nExec=\"" + built.toUtf8() + "\"\n");
    EXPECT_EQ(run(built, QStringLiteral("status"), true), "not enabled");
    ASSERT_EQ(run(built, QStringLiteral("register"), true), "ok");
    EXPECT_EQ(started(), installed);
}

TEST(DesktopExecTest, ProgramPastEnvAndArguments)
{
    const struct
    {
        const char* exec;
        const char* program;
    } cases[] = {
        {"firefox %u", "firefox"},
        {"\"/opt/My App/app\" --flag", "/opt/My App/app"},
        {"env GDK_BACKEND=x11 -u FOO /usr/bin/slack %U", "/usr/bin/slack"},
        {"\"/a \\\\\"b\\\\\"/c\"", "/a \"b\"/c"},
        {"/usr/bin/100%%", "/usr/bin/100%"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopExec::program(QString::fromUtf8(c.exec)), QString::fromUtf8(c.program))
            << c.exec;
}

} // namespace
