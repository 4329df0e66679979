// SPDX-License-Identifier: GPL-3.0-or-later
// The picture modes, run as a release script would: the real executable, no display server.

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Runs `tockwork MODE PATH` with no display and a home of its own; PATH is in that home.
class PictureMode : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(home.isValid()); }

    // The process's standard output, after checking that it wrote `path` and exited 0.
    QByteArray run(const QString& mode, const QString& path)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TOCKWORK_EXE), {mode, path});
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        EXPECT_TRUE(QFile::exists(path));
        return process.readAllStandardOutput();
    }

    QTemporaryDir home;
};

TEST_F(PictureMode, ContactSheetHasEveryPhaseOnLightAndDarkBands)
{
    const QString path = home.filePath(QStringLiteral("sheet.png"));
    run(QStringLiteral("--contact"), path);

    // Written at twice its point size: 7 rows of 34 points, a light and a dark band in each.
    const QImage sheet(path);
    EXPECT_EQ(sheet.size(), QSize(308 * 2, 238 * 2));
    const auto grey = [&](int x, int y) { return qGray(sheet.pixel(x * 2 + 1, y * 2 + 1)); };
    for (int top = 0; top < 7 * 34; top += 34) {
        SCOPED_TRACE(top);
        EXPECT_NEAR(grey(92, top + 2), 245, 1); // white 0.96
        EXPECT_NEAR(grey(201, top + 2), 41, 1); // white 0.16
        EXPECT_EQ(grey(80, top + 1), 255) << "white outside the bands";
        // Each band carries a picture of the day's mascot inside its slot.
        for (const auto& [slotX, background] : {std::pair{99, 245}, std::pair{208, 41}}) {
            int drawn = 0;
            for (int y = top + 8; y < top + 26; ++y)
                for (int x = slotX; x < slotX + 91; ++x)
                    drawn += std::abs(grey(x, y) - background) > 8;
            EXPECT_GT(drawn, 10) << "slot at x " << slotX;
        }
    }
    // "근무 35%" and "근무 70%" show the same ant over a bar filled twice as far.
    const auto greenPixels = [&](int row, int slotX) {
        int green = 0;
        for (int y = (row * 34 + 6) * 2; y < (row * 34 + 28) * 2; ++y)
            for (int x = slotX * 2; x < (slotX + 91) * 2; ++x) {
                const QRgb p = sheet.pixel(x, y);
                green += qGreen(p) > qRed(p) + 60 && qGreen(p) > qBlue(p) + 40;
            }
        return green;
    };
    for (const int slotX : {99, 208}) {
        const int at35 = greenPixels(1, slotX);
        const int at70 = greenPixels(2, slotX);
        EXPECT_GT(at35, 0) << "slot at x " << slotX;
        EXPECT_NEAR(double(at70) / std::max(at35, 1), 2.0, 0.3) << at35 << " " << at70;
    }
}

TEST_F(PictureMode, PanelPreviewHasTwoPanelsAtTwiceTheirSizeAndTouchesNoStore)
{
    const QString path = home.filePath(QStringLiteral("panels.png"));
    EXPECT_EQ(run(QStringLiteral("--panel"), path), "panel preview done\n");

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
