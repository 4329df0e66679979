#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

struct CliResult
{
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QByteArray out;
    QByteArray err;
};

// A home of its own for every test, the settings file where the application keeps it, and a C
// locale so that UTF-8 output cannot come from the environment.
class CliTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(home_.isValid()); }

    QString configHome() const { return home_.filePath(QStringLiteral("config")); }
    QString storePath() const { return configHome() + QStringLiteral("/tockwork/tockwork.conf"); }

    void writeStore(const QByteArray& contents) const
    {
        QDir().mkpath(QFileInfo(storePath()).path());
        QFile file(storePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home_.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
        env.insert(QStringLiteral("TZ"), QStringLiteral("Asia/Seoul"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        return env;
    }

    CliResult run(const QStringList& arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral(TOCKWORK_CLI), arguments);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "tockwork-cli did not finish";
        }
        return {process.exitCode(), process.exitStatus(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

private:
    QTemporaryDir home_;
};

// Bytes, modification time and the folder's entries: a lock or temporary file left behind
// counts as touching the store too.
struct StoreSnapshot
{
    QByteArray bytes;
    long long mtimeNs = 0;
    QStringList entries;

    static StoreSnapshot of(const QString& path)
    {
        QFile file(path);
        StoreSnapshot s;
        if (file.open(QIODevice::ReadOnly))
            s.bytes = file.readAll();
        struct stat st = {};
        if (::stat(QFile::encodeName(path).constData(), &st) == 0)
            s.mtimeNs = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
        s.entries =
            QFileInfo(path).dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        return s;
    }

    bool operator==(const StoreSnapshot&) const = default;
};
