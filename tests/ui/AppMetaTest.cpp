// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/AppMeta.h"

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

TEST(AppMeta, InstalledAppsRunningAppsKnownSitesAddressesAndBareNames)
{
    QTemporaryDir apps;
    setApplicationDirs({apps.path()});
    const auto write = [&](const char* name, const QString& entry) {
        QFile file(apps.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("[Desktop Entry]\n" + entry).toUtf8());
    };
    solidIcon(Qt::blue).pixmap(16, 16).save(apps.filePath("krita.png"));
    write("org.kde.krita.desktop",
          "Type=Application\nName=Krita\nIcon=" + apps.filePath("krita.png") +
              "\n[Desktop Action New]\nName=Discord\n");
    write("removed.desktop", "Type=Application\nName=Removed\nHidden=true\n");
    write("link.desktop", "Type=Link\nName=Notion\n");

    const AppMeta krita = appMeta("Krita");
    EXPECT_EQ(krita.kind, QStringLiteral("앱"));
    EXPECT_EQ(krita.icon.pixmap(16, 16).toImage().pixel(8, 8), qRgb(0, 0, 255));
    // names in other groups, deleted entries and links are not applications
    for (const char* name : {"discord", "removed", "notion", ""})
        EXPECT_FALSE(findInstalledApp(name)) << name;

    const AppMeta youtube = appMeta("유튜브");
    EXPECT_EQ(youtube.kind, QStringLiteral("사이트"));
    EXPECT_EQ(youtube.detail, QStringLiteral("youtube.com"));
    EXPECT_EQ(appMeta("Blog.Example.KR").detail, QStringLiteral("blog.example.kr"));
    // an unknown word without a dot is a name: no made-up "웹툰.com" whose icon would be fetched
    for (const char* word : {"웹툰", "mygame"}) {
        const AppMeta name = appMeta(QString::fromUtf8(word));
        EXPECT_EQ(name.kind, QStringLiteral("이름")) << word;
        EXPECT_FALSE(name.kind.contains(QStringLiteral("사이트"))) << word;
        EXPECT_FALSE(name.detail.contains(u'.')) << word;
    }

    setRunningAppsSource([] {
        return QList<RunningApp>{{"Terminal", solidIcon(Qt::green)},
                                 {"Discord", solidIcon(Qt::red)}};
    });
    const AppMeta discord = appMeta("discord");
    EXPECT_EQ(discord.kind, QStringLiteral("앱, 사이트"));
    EXPECT_EQ(discord.detail, QStringLiteral("discord.com"));
    EXPECT_EQ(discord.icon.pixmap(16, 16).toImage().pixel(8, 8), qRgb(255, 0, 0));
    // an empty entry must not match every running application's name
    EXPECT_EQ(appMeta(QString()).kind, QStringLiteral("사이트"));
    setApplicationDirs({});
    setRunningAppsSource({});
}

} // namespace
