#include "FontFixture.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <cmath>

namespace {

using MonaFontTest = FontFixture;

TEST_F(MonaFontTest, BundleCopyWinsOverTheHomeCopy)
{
    SKIP_WITHOUT_BUILT_FONTS();
    place(QStringLiteral("Mona12.ttf"), QStringLiteral("TockWork"));
    const QString bundled = place(QStringLiteral("Mona12.ttf"));
    registerMonaFont();
    const auto regular = registeredMona(false);
    ASSERT_TRUE(regular);
    EXPECT_EQ(regular->file, bundled);
    EXPECT_EQ(regular->family, QStringLiteral("Galmuri11"));
    EXPECT_TRUE(monaAvailable());
    EXPECT_EQ(QFontInfo(mona(12)).family(), QStringLiteral("Galmuri11"));
}

TEST_F(MonaFontTest, UserFontsFolderCopyIsUsedWhenItIsTheOnlyOne)
{
    SKIP_WITHOUT_BUILT_FONTS();
    const QString user = place(QStringLiteral("Mona12.ttf"), QStringLiteral(".local/share/fonts"));
    const auto regular = registeredMona(false);
    ASSERT_TRUE(regular); // registration also happens on first use
    EXPECT_EQ(regular->file, user);
}

TEST_F(MonaFontTest, DamagedFileIsPassedOverForTheNextCopy)
{
    SKIP_WITHOUT_BUILT_FONTS();
    QDir().mkpath(bundle.path() + QStringLiteral("/fonts"));
    QFile broken(bundle.path() + QStringLiteral("/fonts/Mona12.ttf"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<html>502 Bad Gateway</html>");
    broken.close();
    const QString good = place(QStringLiteral("Mona12.ttf"), QStringLiteral("TockWork"));
    const auto regular = registeredMona(false);
    ASSERT_TRUE(regular);
    EXPECT_EQ(regular->file, good);
}

TEST_F(MonaFontTest, NoFontFilesMeansTheSystemFont)
{
    registerMonaFont();
    EXPECT_FALSE(registeredMona(false));
    EXPECT_FALSE(registeredMona(true));
    EXPECT_FALSE(monaAvailable());
    const QString system = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    EXPECT_EQ(mona(12).family(), system);
    EXPECT_EQ(monaBold(12).family(), system);
    EXPECT_EQ(mona(12).pixelSize(), 12);
}

TEST_F(MonaFontTest, BoldFallsBackToTheRegularFaceNotASyntheticBold)
{
    SKIP_WITHOUT_BUILT_FONTS();
    place(QStringLiteral("Mona12.ttf"));
    registerMonaFont();
    EXPECT_FALSE(registeredMona(true));
    const QFont bold = monaBold(12);
    EXPECT_EQ(QFontInfo(bold).family(), QStringLiteral("Galmuri11"));
    EXPECT_FALSE(bold.bold());
}

TEST_F(MonaFontTest, BoldFaceWhenInstalled)
{
    SKIP_WITHOUT_BUILT_FONTS();
    useBuiltFonts();
    ASSERT_TRUE(registeredMona(true));
    const QFontInfo info(monaBold(12));
    EXPECT_EQ(info.family(), QStringLiteral("Galmuri11"));
    EXPECT_TRUE(info.bold());
    EXPECT_FALSE(QFontInfo(mona(12)).bold());
}

TEST_F(MonaFontTest, SizesAreWholePixels)
{
    EXPECT_EQ(mona(12).pixelSize(), 12);
    EXPECT_EQ(mona(10.6).pixelSize(), 11);
    EXPECT_EQ(mona(0).pixelSize(), 1);
    EXPECT_EQ(mona(std::nan("")).pixelSize(), 12);
    EXPECT_EQ(monaBold(-3).pixelSize(), 1);
}

} // namespace
