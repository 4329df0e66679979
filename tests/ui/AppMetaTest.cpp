#include "ui/TestApp.h"

#include "AppMeta.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

namespace {

QIcon solidIcon(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

QRgb centre(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().pixel(8, 8);
}

class AppMetaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testApp();
        ASSERT_TRUE(apps.isValid());
        setApplicationDirs({apps.path()});
        setRunningAppsSource({});
        QImage kritaIcon(16, 16, QImage::Format_ARGB32);
        kritaIcon.fill(Qt::blue);
        kritaIconPath = apps.filePath(QStringLiteral("krita.png"));
        kritaIcon.save(kritaIconPath);
        writeDesktop(QStringLiteral("org.kde.krita.desktop"),
                     QStringLiteral("[Desktop Entry]\nType=Application\nName=Krita\nIcon=") +
                         kritaIconPath + QStringLiteral("\n[Desktop Action New]\nName=Discord\n"));
        writeDesktop(
            QStringLiteral("removed.desktop"),
            QStringLiteral("[Desktop Entry]\nType=Application\nName=Removed\nHidden=true\n"));
        writeDesktop(QStringLiteral("link.desktop"),
                     QStringLiteral("[Desktop Entry]\nType=Link\nName=Notion\n"));
    }
    void TearDown() override
    {
        setApplicationDirs({});
        setRunningAppsSource({});
    }

    void writeDesktop(const QString& name, const QString& contents)
    {
        QFile file(apps.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents.toUtf8());
    }

    QTemporaryDir apps;
    QString kritaIconPath;
};

TEST_F(AppMetaTest, KnownSiteWithoutApplicationGetsItsDomainAndAGlobe)
{
    const AppMeta meta = appMeta(QStringLiteral("유튜브"));
    EXPECT_EQ(meta.kind, QStringLiteral("사이트"));
    EXPECT_EQ(meta.detail, QStringLiteral("youtube.com"));
    EXPECT_FALSE(meta.icon.isNull());
}

TEST_F(AppMetaTest, RunningApplicationLendsItsIconToAKnownService)
{
    setRunningAppsSource([] {
        return QList<RunningApp>{{QStringLiteral("Terminal"), solidIcon(Qt::green)},
                                 {QStringLiteral("Discord"), solidIcon(Qt::red)}};
    });
    const AppMeta meta = appMeta(QStringLiteral("discord"));
    EXPECT_EQ(meta.kind, QStringLiteral("앱, 사이트"));
    EXPECT_EQ(meta.detail, QStringLiteral("discord.com"));
    EXPECT_EQ(centre(meta.icon), qRgb(255, 0, 0));
}

TEST_F(AppMetaTest, InstalledApplicationFoundByItsDesktopEntry)
{
    const AppMeta meta = appMeta(QStringLiteral("Krita"));
    EXPECT_EQ(meta.kind, QStringLiteral("앱"));
    EXPECT_EQ(meta.detail, QStringLiteral("앱"));
    EXPECT_EQ(centre(meta.icon), qRgb(0, 0, 255));
    ASSERT_TRUE(findInstalledApp(QStringLiteral("krita")));

    // Names in other groups, deleted entries and links are not applications.
    EXPECT_FALSE(findInstalledApp(QStringLiteral("discord")));
    EXPECT_FALSE(findInstalledApp(QStringLiteral("removed")));
    EXPECT_FALSE(findInstalledApp(QStringLiteral("notion")));
    EXPECT_FALSE(findInstalledApp(QString()));
}

TEST_F(AppMetaTest, UnknownEntriesCountAsSites)
{
    EXPECT_EQ(appMeta(QStringLiteral("MyBlog")).detail, QStringLiteral("myblog.com"));
    const AppMeta dotted = appMeta(QStringLiteral("Blog.Example.KR"));
    EXPECT_EQ(dotted.kind, QStringLiteral("사이트"));
    EXPECT_EQ(dotted.detail, QStringLiteral("blog.example.kr"));
    EXPECT_FALSE(dotted.icon.isNull());
    // An empty entry must not match every running application's name.
    setRunningAppsSource([] {
        return QList<RunningApp>{{QStringLiteral("Any"), solidIcon(Qt::red)}};
    });
    EXPECT_EQ(appMeta(QString()).kind, QStringLiteral("사이트"));
}

} // namespace
