// Runs the real executable the way a release script would: no display server at all.

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int kScale = 2; // the sheet is written at twice its point size

struct SheetRun
{
    int exitCode = -1;
    QString err;
};

SheetRun contactSheet(const QString& path, const QTemporaryDir& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TOCKWORK_EXE), {QStringLiteral("--contact"), path});
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

int grey(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x * kScale + 1, y * kScale + 1));
}

TEST(ContactSheet, WritesEveryPhaseOnLightAndDarkBandsWithoutADisplay)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString path = home.filePath(QStringLiteral("sheet.png"));
    const SheetRun run = contactSheet(path, home);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    QImage sheet(path);
    ASSERT_FALSE(sheet.isNull());
    EXPECT_EQ(sheet.size(), QSize(308 * kScale, 238 * kScale));

    for (int row = 0; row < 7; ++row) {
        const int top = row * 34;
        SCOPED_TRACE(row);
        // Band levels away from the pictures: white 0.96 and 0.16.
        EXPECT_NEAR(grey(sheet, 92, top + 2), 245, 1);
        EXPECT_NEAR(grey(sheet, 201, top + 2), 41, 1);
        EXPECT_EQ(grey(sheet, 300, top + 32), 41);
        EXPECT_EQ(grey(sheet, 80, top + 1), 255) << "white outside the bands";

        // Each band carries a picture of the day's mascot inside its slot.
        for (const auto& [slotX, background] : {std::pair{99, 245}, std::pair{208, 41}}) {
            int drawn = 0;
            for (int y = (top + 8) * kScale; y < (top + 26) * kScale; ++y)
                for (int x = slotX * kScale; x < (slotX + 91) * kScale; ++x)
                    if (std::abs(qGray(sheet.pixel(x, y)) - background) > 8)
                        ++drawn;
            EXPECT_GT(drawn, 40) << "slot at x " << slotX;
        }
        // The label is drawn at the left.
        int ink = 0;
        for (int y = top * kScale; y < (top + 34) * kScale; ++y)
            for (int x = 6 * kScale; x < 60 * kScale; ++x)
                ink += qGray(sheet.pixel(x, y)) < 128;
        EXPECT_GT(ink, 10) << "label";
    }
}

TEST(ContactSheet, FailureToWriteIsReportedAndLeavesNoFile)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString path = home.filePath(QStringLiteral("missing/folder/sheet.png"));
    const SheetRun run = contactSheet(path, home);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
