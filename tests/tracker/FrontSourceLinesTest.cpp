// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracker/FrontSourceLines.h"

#include <QSet>

#include <gtest/gtest.h>

// The settings window's word on who names the window in front, one per desktop facility.
TEST(FrontSourceLines, EachSourceSaysItselfAndOnlyMissingGnomeSupportAsksForTheInstall)
{
    const QString install = QStringLiteral("tockwork --install-desktop-support");
    QSet<QString> seen;
    for (FrontSource source :
         {FrontSource::none, FrontSource::x11, FrontSource::wlroots, FrontSource::kwinScript,
          FrontSource::gnomeExtension, FrontSource::gnomeExtensionMissing}) {
        const QStringList lines = frontSourceLines(source);
        ASSERT_FALSE(lines.isEmpty()) << int(source);
        for (const QString& line : lines)
            EXPECT_TRUE(line.startsWith(QStringLiteral("· "))) << line.toStdString();
        seen.insert(lines.first());
        EXPECT_EQ(lines.join(u'\n').contains(install), source == FrontSource::gnomeExtensionMissing)
            << int(source);
    }
    EXPECT_EQ(seen.size(), 6) << "two sources read the same to the user";
}
