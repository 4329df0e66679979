// SPDX-License-Identifier: GPL-3.0-or-later
// Art and font lookups in the bundle and home folders, and what is drawn from them.

#include "render/Resources.h"
#include "GifWriter.h"
#include "render/Art.h"
#include "render/Colors.h"
#include "render/MonaFont.h"
#include "render/PixelBar.h"
#include "render/TextImage.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A private home and bundle folder per test, so art and font lookups never see the build's or the
// user's real files.
class Sandbox : public testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("HOME", home().toLocal8Bit());
        QDir().mkpath(homeArt());
        QDir().mkpath(bundleArt());
        Resources::setBundleDir(bundle());
    }
    void TearDown() override
    {
        unregisterMonaFont();
        Resources::setBundleDir({});
        qputenv("HOME", savedHome);
    }
    QString home() const { return temp.path() + "/home"; }
    QString bundle() const { return temp.path() + "/bundle"; }
    QString bundleArt() const { return bundle() + "/art"; }
    QString homeArt() const { return home() + "/TockWork/art"; }

    QTemporaryDir temp;
    const QByteArray savedHome = qgetenv("HOME");
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// A 6 x 5 GIF with one solid frame per (colour, delay in ms).
void writeGif(const QString& path, const std::vector<std::pair<QRgb, int>>& frames)
{
    std::vector<GifWriter::Frame> out;
    for (const auto& [colour, delay] : frames)
        out.push_back({delay, std::vector<std::uint32_t>(30, colour)});
    ASSERT_TRUE(GifWriter::write(path.toStdString(), 6, 5, out, nullptr));
}

void writePng(const QString& path, QColor colour)
{
    QImage image(27, 22, QImage::Format_ARGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(path, "PNG"));
}

QRect opaqueBounds(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                box |= QRect(x, y, 1, 1);
    return box;
}

using Art = Sandbox;

TEST_F(Art, LookupOrderAndUnusableNames)
{
    writePng(bundleArt() + "/ant_work.png", Qt::red);
    writeGif(homeArt() + "/ant_work.gif", {{0xFF00FF00, 100}});
    writePng(homeArt() + "/ant_work.png", Qt::blue);
    EXPECT_EQ(artPath("ant_work"), bundleArt() + "/ant_work.png"); // whole bundle before home
    QFile::remove(bundleArt() + "/ant_work.png");
    EXPECT_EQ(artPath("ant_work"), homeArt() + "/ant_work.gif"); // GIF before PNG

    writeFile(homeArt() + "/ant_over.png", "not a picture");
    EXPECT_FALSE(loadArt("ant_over"));
    // a path in a name must never reach outside the art folders
    writePng(bundle() + "/secret.png", Qt::red);
    EXPECT_FALSE(artPath("../secret"));
}

TEST_F(Art, GifFramesAndStillPictures)
{
    writeGif(bundleArt() + "/ant_work.gif", {{0xFFFF0000, 200}, {0xFF00FF00, 80}, {0xFF0000FF, 0}});
    const auto set = gifFrames("ant_work");
    ASSERT_TRUE(set && set->frames.size() == 3);
    const double seconds[] = {0.2, 0.08, 0.1}; // a missing delay is a tenth
    const QRgb colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(set->durations[i], seconds[i]);
        EXPECT_EQ(set->frames[i].pixel(3, 2), colours[i]) << i;
    }

    writeGif(bundleArt() + "/home.gif", {{0xFF123456, 300}});
    EXPECT_FALSE(gifFrames("home"));
    EXPECT_EQ(loadArt("home")->pixel(2, 2), 0xFF123456u);
}

// A broken or missing shipped picture would show an empty tray.
TEST(ShippedArt, EveryPictureExistsAndDecodes)
{
    Resources::setBundleDir(QStringLiteral(TOCKWORK_BUILT_SHARE_DIR));
    for (const char* name : {"ant_work", "ant_lunch", "ant_over", "home"}) {
        const auto set = gifFrames(name);
        ASSERT_TRUE(set) << name;
        for (int i = 0; i < set->frames.size(); ++i) {
            EXPECT_EQ(set->frames[i].size(), QSize(27, 22)) << name;
            EXPECT_EQ(qAlpha(set->frames[i].pixel(26, 21)), 0);
        }
    }
    EXPECT_EQ(barCellRuns(loadArt("bar_empty")).cells.size(), 10);
    Resources::setBundleDir({});
}

QImage drawn(const std::optional<QImage>& art, QSizeF points, qreal dpr)
{
    QImage out((points * dpr).toSize(), QImage::Format_ARGB32);
    out.setDevicePixelRatio(dpr);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    drawMascotFit(painter, art, QRectF(QPointF(), points));
    return out;
}

TEST(MascotFit, CentredAspectFitAndCrispPixels)
{
    QImage wide(20, 10, QImage::Format_ARGB32);
    wide.fill(Qt::red);
    // 27 x 13.5 points, 4.25 from the top and the bottom
    EXPECT_EQ(opaqueBounds(drawn(wide, {27, 22}, 4)), QRect(0, 17, 108, 54));
    EXPECT_TRUE(opaqueBounds(drawn(std::nullopt, {27, 22}, 1)).isNull());

    QImage art(27, 22, QImage::Format_ARGB32);
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 27; ++x)
            art.setPixel(x, y, (x + y) % 2 ? 0xFF000000 : 0xFFFFFFFF);
    EXPECT_EQ(drawn(art, {27, 22}, 2), art.scaled(54, 44)); // 2x tray: exact 2 x 2 blocks
    // Enlarged by 1.5, shrunk, or placed at a fractional position: pixels are never blended.
    for (const auto& [points, dpr] :
         {std::pair{QSizeF(27, 22), 1.5}, std::pair{QSizeF(20, 16), 1.0},
          std::pair{QSizeF(92, 78), 1.0}}) {
        const QImage out = drawn(art, points, dpr);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                const QRgb p = out.pixel(x, y);
                ASSERT_TRUE(p == 0xFF000000 || p == 0xFFFFFFFF || qAlpha(p) == 0)
                    << points.width() << "@" << dpr << " pixel " << x << "," << y;
            }
    }
}

const QString Built = QStringLiteral(TOCKWORK_BUILT_SHARE_DIR);

// The font files come from the build (fetched from npm); an offline build has none.
#define SKIP_WITHOUT_BUILT_FONTS()                                                                 \
    if (!QFile::exists(Built + "/fonts/Mona12-Bold.ttf"))                                          \
    GTEST_SKIP() << "pixel font not fetched; build tockwork_fonts"

using MonaFont = Sandbox;

void useBuiltFonts()
{
    unregisterMonaFont();
    Resources::setBundleDir(Built);
}

TEST_F(MonaFont, FirstLoadableCopyWinsAndBoldFallsBackToRegular)
{
    SKIP_WITHOUT_BUILT_FONTS();
    const QString homeCopy = home() + "/TockWork/Mona12.ttf",
                  bundled = bundle() + "/fonts/Mona12.ttf";
    QDir().mkpath(home() + "/TockWork");
    ASSERT_TRUE(QFile::copy(Built + "/fonts/Mona12.ttf", homeCopy));
    writeFile(bundled, "<html>502 Bad Gateway</html>");
    EXPECT_EQ(registeredMona(MonaFace::regular)->file,
              homeCopy); // the damaged bundle file is passed over
    unregisterMonaFont();
    ASSERT_TRUE(QFile::remove(bundled) && QFile::copy(Built + "/fonts/Mona12.ttf", bundled));
    EXPECT_EQ(registeredMona(MonaFace::regular)->file,
              bundled); // the bundle before the home folder
    // no bold file: the regular face, never a smeared synthetic bold
    EXPECT_FALSE(registeredMona(MonaFace::bold));
    EXPECT_EQ(QFontInfo(monaBold(12)).family(), QStringLiteral("Galmuri11"));
    EXPECT_FALSE(monaBold(12).bold());
}

TEST_F(MonaFont, SystemFontWithoutFilesBoldFaceWhenInstalledWholePixelSizes)
{
    EXPECT_EQ(mona(12).family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    EXPECT_EQ(mona(10.6).pixelSize(), 11);
    EXPECT_EQ(monaBold(-3).pixelSize(), 1);
    // without the pixel font everything is text
    EXPECT_EQ(monaLineSegments(QStringLiteral("오늘 ♥ 열일"), mona(12)).size(), 1);

    SKIP_WITHOUT_BUILT_FONTS();
    useBuiltFonts();
    EXPECT_TRUE(QFontInfo(monaBold(12)).bold());
    EXPECT_FALSE(QFontInfo(mona(12)).bold());
}

TEST(MonaSize, PixelFacesOnlyAtTheirDesignSizesOrWholeMultiples)
{
    using D = MonaSize::Design;
    const struct
    {
        double size;
        D design;
        int pixels;
    } cases[] = {{12, D::twelve, 12},   {24, D::twelve, 24},   {13, D::twelve, 12},
                 {23.4, D::twelve, 12}, {36.2, D::twelve, 36}, {11, D::ten, 10},
                 {10.6, D::ten, 10},    {10, D::ten, 10},      {9.4, D::none, 9},
                 {-3, D::none, 1},      {1e9, D::twelve, 504}, {std::nan(""), D::twelve, 12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const MonaSize got = monaPixelSize(c.size);
        EXPECT_EQ(got.design, c.design);
        EXPECT_EQ(got.pixels, c.pixels);
    }
}

// Runs of ink along one pixel row of an image.
int inkRuns(const QImage& image, int y)
{
    int runs = 0;
    bool inInk = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool ink = qAlpha(image.pixel(x, y)) > 127;
        runs += ink && !inInk;
        inInk = ink;
    }
    return runs;
}

int mostInkRuns(const QImage& image)
{
    int most = 0;
    for (int y = 0; y < image.height(); ++y)
        most = std::max(most, inkRuns(image, y));
    return most;
}

TEST_F(MonaFont, SmallLinesKeepEveryStemOfTheirHangul)
{
    SKIP_WITHOUT_BUILT_FONTS();
    useBuiltFonts();
    ASSERT_TRUE(registeredMona(MonaFace::small)) << "the 10-pixel face is fetched with the others";
    // Beside the consonant's strokes, ㅐ and ㅔ have two stems: a row of 내 or 게 crosses three
    // runs of ink, one of 채 four (ㅊ's two legs). Drawn off its design size the 12-pixel face
    // merges the two stems ("내가" reads "니가", "채웠어요" reads "처웠어요").
    const struct
    {
        const char* syllable;
        int runs;
    } syllables[] = {{"내", 3}, {"게", 3}, {"채", 4}};
    for (const double size : {10.0, 11.0, 12.0, 24.0}) {
        for (const qreal ratio : {1.0, 2.0}) {
            for (const auto& [syllable, runs] : syllables) {
                SCOPED_TRACE(testing::Message() << syllable << " at " << size << " x" << ratio);
                const QImage image =
                    renderMonaLine(QString::fromUtf8(syllable), mona(size), Qt::black, ratio);
                EXPECT_EQ(mostInkRuns(image), runs);
            }
        }
    }
    EXPECT_EQ(QFontInfo(mona(11)).family(), QStringLiteral("Galmuri9"));
    EXPECT_EQ(QFontInfo(monaBold(10)).family(), QStringLiteral("Galmuri9"));
    EXPECT_EQ(QFontInfo(mona(12)).family(), QStringLiteral("Galmuri11"));
}

TEST_F(MonaFont, EveryGlyphLiesOnThePixelGrid)
{
    SKIP_WITHOUT_BUILT_FONTS();
    useBuiltFonts();
    // Glyph edges between two pixels would come out grey at the edges: the sign of a pixel design
    // drawn off its size, or started between two pixels.
    const QString text = QStringLiteral("니가 딴짓할 때 돌아올게요 월화수목금 (세전)129,156원 ♥");
    for (const double size : {10.0, 11.0, 12.0}) {
        for (const qreal ratio : {1.0, 2.0}) {
            for (const QFont& font : {mona(size), monaBold(size)}) {
                SCOPED_TRACE(testing::Message() << size << " x" << ratio << " " << font.bold());
                const QImage image = renderMonaLine(text, font, Qt::black, ratio);
                int partial = 0;
                for (int y = 0; y < image.height(); ++y) {
                    for (int x = 0; x < image.width(); ++x) {
                        const int a = qAlpha(image.pixel(x, y));
                        partial += a > 0 && a < 255;
                    }
                }
                EXPECT_EQ(partial, 0);
            }
        }
    }
}

TEST_F(MonaFont, AMissingSmallFaceFallsBackToTheSystemFontAtTheAskedSize)
{
    SKIP_WITHOUT_BUILT_FONTS();
    QDir().mkpath(bundle() + "/fonts");
    for (const char* name : {"Mona12.ttf", "Mona12-Bold.ttf"})
        ASSERT_TRUE(QFile::copy(Built + "/fonts/" + name, bundle() + "/fonts/" + name));
    EXPECT_FALSE(registeredMona(MonaFace::small));
    const QString system = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    EXPECT_EQ(mona(11).family(), system);
    EXPECT_EQ(mona(11).pixelSize(), 11);
    EXPECT_EQ(QFontInfo(mona(12)).family(), QStringLiteral("Galmuri11"));
    // without its glyphs the fallback text has no pixel-font emoji segments
    EXPECT_EQ(monaLineSegments(QStringLiteral("오늘 ♥ 열일"), mona(11)).size(), 1);
    EXPECT_FALSE(renderMonaLine(QStringLiteral("돌아올게요"), mona(10), Qt::black, 2).isNull());
}

// A muted ink over a ground painted beforehand, as a label draws it onto the panel's glass.
QImage labelOver(const QColor& ground, const QColor& ink, QImage::Format format)
{
    QImage image(160, 20, format);
    image.fill(ground);
    QPainter painter(&image);
    painter.setFont(mona(12));
    painter.setPen(ink);
    painter.drawText(QPointF(2, 15), QStringLiteral("오늘 열일 지금까지"));
    return image;
}

TEST_F(MonaFont, EveryGlyphKeepsTheInksAlphaOnOpaqueAndTranslucentSurfaces)
{
    SKIP_WITHOUT_BUILT_FONTS();
    useBuiltFonts();
    const QColor ink(0, 0, 0, 146);
    // An opaque window (no compositor) and a translucent one (the glass under a compositor):
    // Qt copied monochrome glyphs without blending after the first of a line, so the rest came
    // out black, or punched the ink's alpha through the glass to show the wallpaper.
    for (const auto& [format, ground] :
         {std::pair{QImage::Format_RGB32, QColor(246, 246, 247)},
          std::pair{QImage::Format_ARGB32_Premultiplied, QColor(246, 246, 247, 240)}}) {
        SCOPED_TRACE(int(format));
        const QImage image = labelOver(ground, ink, format);
        QImage expected(1, 1, format);
        expected.fill(ground);
        QPainter(&expected).fillRect(0, 0, 1, 1, ink);
        const QRgb blended = expected.pixel(0, 0);
        const QRgb groundPixel = image.pixel(image.width() - 1, 0);
        int inkPixels = 0, wrong = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (pixel == groundPixel)
                    continue;
                ++inkPixels;
                wrong += pixel != blended;
            }
        }
        EXPECT_GT(inkPixels, 100);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(MonaFont, PixelFontEmojiBecomeGlyphSegmentsOthersStayText)
{
    SKIP_WITHOUT_BUILT_FONTS();
    useBuiltFonts();
    const QFont font = mona(12);
    const auto segments = monaLineSegments(QStringLiteral("오늘 ♥\uFE0F 열일"), font);
    ASSERT_EQ(segments.size(), 3); // the variation selector is dropped
    EXPECT_EQ(segments[0].text, QStringLiteral("오늘 "));
    EXPECT_TRUE(segments[1].isGlyph);
    EXPECT_EQ(segments[2].text, QStringLiteral(" 열일"));
    EXPECT_EQ(renderMonaLine(QStringLiteral("끝 ♥\uFE0F\uFE0E"), font, Qt::black, 1),
              renderMonaLine(QStringLiteral("끝 ♥"), font, Qt::black, 1));
    // the ant is not in the pixel font: the colour emoji font draws it inside the text run
    EXPECT_EQ(monaLineSegments(QStringLiteral("월루 🐜 중"), font).size(), 1);

    const QString text = QStringLiteral("(세전)84,300원 벌었어요 ♥");
    const QImage image = renderMonaLine(text, font, Qt::black, 1);
    EXPECT_GE(image.height(), 17); // lines 1.4 times the 12-pixel font
    EXPECT_EQ(renderMonaLine({}, font, Qt::black, 1).size(), QSize(1, image.height()));
    // runaway text is capped, not allocated in full
    EXPECT_LE(renderMonaLine(QString(20000, u'가'), font, Qt::black, 2).width(), 8192 * 2);
}

TEST_F(MonaFont, OnlyTheFirstAmountIsColoured)
{
    const QColor green(0, 160, 0);
    const AttributedText one = coloredAmount("오늘 12,345원 벌었어요", green, mona(12));
    ASSERT_EQ(one.runs.size(), 3);
    EXPECT_EQ(one.runs[1].text, QStringLiteral("12,345원"));
    EXPECT_EQ(one.runs[1].color, green);
    const AttributedText two = coloredAmount("1,000원 중 500원", green, mona(12));
    ASSERT_EQ(two.runs.size(), 2);
    EXPECT_EQ(two.runs[0].text, QStringLiteral("1,000원"));
    EXPECT_EQ(coloredAmount("원 단위 없음", green, mona(12)).runs.size(), 1);
}

} // namespace
