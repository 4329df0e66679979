// SPDX-License-Identifier: GPL-3.0-or-later
// The real executables' own switches: answered without a display server, and a mistake starts
// nothing at all.
#include "Sandbox.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

class Switches : public testing::Test
{
protected:
    void SetUp() override { home.useAsHome(); }

    Outcome run(const char* program, const QStringList& args, bool display = false)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        if (display)
            env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QString::fromUtf8(program), args);
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << program << ' ' << args.join(' ').toStdString() << " kept running";
            return {};
        }
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    // Every file under the sandboxed home: settings, ledger, queue, autostart entry, lock.
    QStringList filesWritten() const
    {
        QStringList files;
        QDirIterator it(home.dir(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        return files;
    }

    StoreSandbox home;
};

TEST_F(Switches, VersionAndHelpAnswerWithoutADisplay)
{
    const QString line = QStringLiteral("tockwork " TOCKWORK_VERSION_EXPECTED "\n");
    for (const char* program : {TOCKWORK_EXE, TOCKWORK_CLI_EXE}) {
        const Outcome version = run(program, {"--version"});
        EXPECT_EQ(version.exitCode, 0) << program;
        EXPECT_EQ(version.out, line) << program;
        EXPECT_EQ(version.err, "") << program;
    }
    const Outcome help = run(TOCKWORK_EXE, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("사용법: tockwork")) << help.out.toStdString();
    for (const char* word : {"--state", "--demo", "--contact", "--install-desktop-support",
                             "--install-browser-support", "--version"})
        EXPECT_TRUE(help.out.contains(QLatin1String(word))) << word;
    EXPECT_TRUE(filesWritten().isEmpty()) << filesWritten().join(' ').toStdString();
}

TEST_F(Switches, AMistakeSaysWhatAndStartsNothing)
{
    const std::pair<QStringList, const char*> mistakes[] = {
        {{"--bogus"}, "알 수 없는 옵션: --bogus\n\n사용법: tockwork"},
        {{"--state", "아무거나"}, "알 수 없는 상태: 아무거나\n"},
        {{"--panel", "p.png", "--frobnicate"}, "알 수 없는 옵션: --frobnicate\n"},
    };
    // With a display too: a mistake must not become a second, silent ant.
    for (const bool display : {false, true})
        for (const auto& [args, said] : mistakes) {
            const Outcome mistake = run(TOCKWORK_EXE, args, display);
            EXPECT_EQ(mistake.exitCode, 2) << args.join(' ').toStdString();
            EXPECT_TRUE(mistake.err.startsWith(QString::fromUtf8(said)))
                << mistake.err.toStdString();
            EXPECT_TRUE(mistake.err.contains("--install-desktop-support")) << "with the usage";
            EXPECT_EQ(mistake.out, "");
        }
    EXPECT_TRUE(filesWritten().isEmpty()) << filesWritten().join(' ').toStdString();
}

} // namespace
