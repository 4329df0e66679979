// Runs the real executable the way a release script would: no display server at all.

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ContactSheet, WritesEveryPhaseOnLightAndDarkBandsWithoutADisplay)
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
    const QString path = home.filePath(QStringLiteral("sheet.png"));
    process.start(QStringLiteral(TOCKWORK_EXE), {QStringLiteral("--contact"), path});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

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
}

} // namespace
