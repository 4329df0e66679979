// The panel preview, run as a release script would: the real executable, no display server.

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(PanelPreview, WritesTwoPanelsAtTwiceTheirSizeWithoutADisplayAndTouchesNoStore)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    QProcess process;
    process.setProcessEnvironment(env);
    const QString path = home.filePath(QStringLiteral("panels.png"));
    process.start(QStringLiteral(TOCKWORK_EXE), {QStringLiteral("--panel"), path});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput(), "panel preview done\n");

    const QImage sheet(path);
    ASSERT_EQ(sheet.size(), QSize(660 * 2, 505 * 2));
    const auto grey = [&](double x, double y) {
        return qGray(sheet.pixel(int(x * 2), int(y * 2)));
    };
    EXPECT_NEAR(grey(5, 5), 235, 1) << "the card's background is white 0.92";
    for (const double left : {20.0, 336.0}) {
        SCOPED_TRACE(left);
        EXPECT_EQ(grey(left + 150, 24), 255) << "inside a white card";
        EXPECT_NEAR(grey(left + 0.5, 200), 214, 12) << "its 1-point edge, white 0.84";
        // The panel is drawn in the card: its chips near the bottom, its rows in the middle.
        int inked = 0;
        for (int y = 140; y < 240; ++y)
            for (int x = int(left) + 30; x < int(left) + 280; ++x)
                inked += grey(x, y) < 160;
        EXPECT_GT(inked, 200);
        // The whole panel fits its card: nothing of it below the card's bottom edge.
        for (const double x : {left + 60, left + 150, left + 240})
            EXPECT_NEAR(grey(x, 505 - 8), 235, 1);
    }
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral(".config/tockwork/tockwork.conf"))));
}

} // namespace
