// SPDX-License-Identifier: GPL-3.0-or-later
// `tockwork-cli pause` run as a user runs it, on a store of its own.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out, err;
};

class PauseCommand : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        QDir().mkpath(QFileInfo(store()).path());
    }

    QString store() const { return home.filePath(QStringLiteral("config/tockwork/tockwork.conf")); }

    // A schedule from `startMin` to `endMin` every day of the week, without lunch.
    void schedule(int startMin, int endMin)
    {
        QSettings settings(store(), QSettings::NativeFormat);
        settings.setValue("workStart", startMin);
        settings.setValue("workEnd", endMin);
        settings.setValue("lunchStart", 0);
        settings.setValue("lunchEnd", 0);
        settings.setValue("excludeWeekend", false);
        settings.setValue("monthlySalaryWon", 3000000);
    }

    CliRun run(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("TZ"), QStringLiteral("Asia/Seoul"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TOCKWORK_CLI), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QVariant stored(const QString& key) const
    {
        return QSettings(store(), QSettings::NativeFormat).value(key);
    }

    QTemporaryDir home;
};

TEST_F(PauseCommand, RejectsAnythingButTheThreeStates)
{
    for (const QStringList& arguments :
         {QStringList{"pause"}, QStringList{"pause", "lunch"}, QStringList{"pause", "rest", "x"},
          QStringList{"pause", "rest", "--json"}}) {
        const CliRun r = run(arguments);
        EXPECT_EQ(r.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("pause"))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(store()));
}

TEST_F(PauseCommand, StartsAndEndsABreakInTheStore)
{
    schedule(0, 1439); // working at any hour the test may run

    CliRun r = run({"pause", "rest"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("pause work")));
    EXPECT_EQ(stored("manualState").toString(), "rest");
    EXPECT_GT(stored("pauseStart").toDouble(), 0);

    r = run({"pause", "away"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(stored("manualState").toString(), "away");

    r = run({"pause", "work"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("오늘 쉰 시간: 0분"))) << r.out.toStdString();
    EXPECT_EQ(stored("manualState").toString(), "work");
    EXPECT_EQ(stored("pauseStart").toDouble(), 0);

    r = run({"pause", "work"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(QStringLiteral("이미 일하는 중이에요")));
}

TEST_F(PauseCommand, NoBreakOutsideTheWorkingHours)
{
    schedule(0, 1); // the working day ended at 00:01
    const QByteArray before = [&] {
        QFile file(store());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const CliRun r = run({"pause", "rest"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("근무 시간이 아니라서")));
    QFile file(store());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

} // namespace
