#include "Art.h"
#include "PixelBar.h"
#include "RenderTestSupport.h"

#include <QFile>
#include <QPainter>

using namespace RenderTest;

namespace {

class ArtLookup : public ArtFolders
{};

TEST_F(ArtLookup, BundleIsSearchedCompletelyBeforeHome)
{
    writePng(bundleArt() + "/ant_work.png", {4, 4}, Qt::red);
    writeGif(homeArt() + "/ant_work.gif", 4, 4, {solidFrame(4, 4, 0xFF00FF00, 100)});
    EXPECT_EQ(artPath("ant_work"), bundleArt() + "/ant_work.png");

    QFile::remove(bundleArt() + "/ant_work.png");
    EXPECT_EQ(artPath("ant_work"), homeArt() + "/ant_work.gif");
}

TEST_F(ArtLookup, GifBeatsPngInTheSameFolder)
{
    writePng(homeArt() + "/home.png", {4, 4}, Qt::red);
    writeGif(homeArt() + "/home.gif", 4, 4, {solidFrame(4, 4, 0xFF00FF00, 100)});
    EXPECT_EQ(artPath("home"), homeArt() + "/home.gif");
    EXPECT_EQ(loadArt("home")->pixel(1, 1), 0xFF00FF00u);
}

TEST_F(ArtLookup, MissingUnreadableAndUnsafeNamesGiveNone)
{
    EXPECT_FALSE(artPath("ant_over"));
    EXPECT_FALSE(loadArt("ant_over"));

    QFile junk(homeArt() + "/ant_over.png");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    EXPECT_TRUE(artPath("ant_over"));
    EXPECT_FALSE(loadArt("ant_over"));

    // Names come from code, but a path in a name must never reach outside the art folders.
    writePng(temp.path() + "/bundle/secret.png", {2, 2}, Qt::red);
    EXPECT_FALSE(artPath("../secret"));
    EXPECT_FALSE(artPath(""));
    EXPECT_FALSE(artPath("a/b"));
}

class GifFrameExtraction : public ArtFolders
{};

TEST_F(GifFrameExtraction, DelaysBecomeSecondsAndMissingOnesATenth)
{
    writeGif(bundleArt() + "/ant_work.gif", 6, 5,
             {solidFrame(6, 5, 0xFFFF0000, 200), solidFrame(6, 5, 0xFF00FF00, 80),
              solidFrame(6, 5, 0xFF0000FF, 0)});
    const auto set = gifFrames("ant_work");
    ASSERT_TRUE(set);
    ASSERT_EQ(set->frames.size(), 3);
    ASSERT_EQ(set->durations.size(), 3);
    EXPECT_DOUBLE_EQ(set->durations[0], 0.2);
    EXPECT_DOUBLE_EQ(set->durations[1], 0.08);
    EXPECT_DOUBLE_EQ(set->durations[2], 0.1);
    const QRgb expected[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(set->frames[i].format(), QImage::Format_ARGB32);
        EXPECT_EQ(set->frames[i].size(), QSize(6, 5));
        EXPECT_EQ(set->frames[i].pixel(3, 2), expected[i]) << "frame " << i;
    }
}

TEST_F(GifFrameExtraction, TransparentPixelsDoNotShowThePreviousFrame)
{
    auto first = solidFrame(4, 4, 0xFFFF0000, 100);
    auto second = solidFrame(4, 4, 0xFF00FF00, 100);
    second.argb[0] = 0x00000000;
    writeGif(bundleArt() + "/ant_lunch.gif", 4, 4, {first, second});
    const auto set = gifFrames("ant_lunch");
    ASSERT_TRUE(set);
    EXPECT_EQ(qAlpha(set->frames[1].pixel(0, 0)), 0);
    EXPECT_EQ(set->frames[1].pixel(1, 0), 0xFF00FF00u);
}

TEST_F(GifFrameExtraction, StillPicturesHaveNoFrameSet)
{
    writeGif(bundleArt() + "/home.gif", 4, 4, {solidFrame(4, 4, 0xFF123456, 300)});
    EXPECT_FALSE(gifFrames("home"));
    ASSERT_TRUE(loadArt("home"));
    EXPECT_EQ(loadArt("home")->pixel(2, 2), 0xFF123456u);

    writePng(bundleArt() + "/ant_over.png", {4, 4}, Qt::red);
    EXPECT_FALSE(gifFrames("ant_over"));

    QFile junk(bundleArt() + "/ant_work.gif");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("GIF89a but nothing after it");
    junk.close();
    EXPECT_FALSE(gifFrames("ant_work"));
    EXPECT_FALSE(gifFrames("nothing_here"));
}

// The application ships these; a broken or missing one would show an empty tray.
TEST(ShippedArt, EveryPictureExistsAndDecodes)
{
    Resources::setBundleDir(QStringLiteral(TOCKWORK_BUILT_SHARE_DIR));
    for (const char* name : {"ant_work", "ant_lunch", "ant_over", "home"}) {
        SCOPED_TRACE(name);
        const auto path = artPath(name);
        ASSERT_TRUE(path);
        EXPECT_TRUE(path->startsWith(QStringLiteral(TOCKWORK_BUILT_SHARE_DIR)));
        const auto set = gifFrames(name);
        ASSERT_TRUE(set);
        EXPECT_GE(set->frames.size(), 3);
        EXPECT_LE(set->frames.size(), 6);
        for (int i = 0; i < set->frames.size(); ++i) {
            const QImage& frame = set->frames[i];
            EXPECT_EQ(frame.size(), QSize(27, 22));
            // transparent around the ant, something drawn in the middle
            EXPECT_EQ(qAlpha(frame.pixel(26, 21)), 0);
            EXPECT_GT(opaqueBounds(frame).width(), 20);
            // calm: no frame flickers faster than 0.15 s or drags beyond half a second
            EXPECT_GE(set->durations[i], 0.15);
            EXPECT_LE(set->durations[i], 0.5);
            if (i > 0) {
                EXPECT_NE(frame, set->frames[i - 1]) << "frame " << i << " does not move";
            }
        }
    }
    const auto bar = loadArt("bar_empty");
    ASSERT_TRUE(bar);
    const BarCells cells = barCellRuns(bar);
    EXPECT_EQ(cells.cells.size(), 10);
    for (const auto& [start, end] : cells.cells)
        EXPECT_GE(end - start + 1, 10);
    EXPECT_LT(cells.yRange.first, cells.yRange.second);
    Resources::setBundleDir({});
}

QImage canvas(QSize points, qreal dpr)
{
    QImage image((QSizeF(points) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}

TEST(MascotFit, WideImageIsCentredVertically)
{
    QImage wide(20, 10, QImage::Format_ARGB32);
    wide.fill(Qt::red);
    QImage out = canvas({27, 22}, 4);
    QPainter painter(&out);
    drawMascotFit(painter, wide, QRectF(0, 0, 27, 22), false);
    painter.end();
    // 27 x 13.5 points, 4.25 from the top and the bottom
    EXPECT_EQ(opaqueBounds(out), QRect(0, 17, 108, 54));
}

TEST(MascotFit, NothingToDrawLeavesTheCanvasUntouched)
{
    QImage out = canvas({27, 22}, 1);
    QPainter painter(&out);
    drawMascotFit(painter, std::nullopt, QRectF(0, 0, 27, 22));
    drawMascotFit(painter, QImage(), QRectF(0, 0, 27, 22));
    QImage some(4, 4, QImage::Format_ARGB32);
    some.fill(Qt::red);
    drawMascotFit(painter, some, QRectF(0, 0, 0, 22));
    painter.end();
    EXPECT_TRUE(opaqueBounds(out).isNull());
}

TEST(MascotFit, AlphaFadesThePicture)
{
    QImage red(27, 22, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QImage out = canvas({27, 22}, 1);
    QPainter painter(&out);
    drawMascotFit(painter, red, QRectF(0, 0, 27, 22), true, 0.5);
    painter.end();
    EXPECT_NEAR(qAlpha(out.pixel(13, 11)), 128, 2);
}

QImage checker(QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, (x + y) % 2 ? 0xFF000000 : 0xFFFFFFFF);
    return image;
}

TEST(MascotFit, PixelArtStaysCrisp)
{
    const QImage art = checker({27, 22});
    {
        SCOPED_TRACE("2x tray: every art pixel becomes an exact 2 x 2 block");
        QImage out = canvas({27, 22}, 2);
        QPainter painter(&out);
        drawMascotFit(painter, art, QRectF(0, 0, 27, 22));
        painter.end();
        const QImage expected = art.scaled(54, 44).convertToFormat(out.format());
        EXPECT_EQ(out.convertToFormat(QImage::Format_ARGB32),
                  expected.convertToFormat(QImage::Format_ARGB32));
    }
    {
        SCOPED_TRACE("92 x 78 panel area (x 3.4): pixel centres keep their exact colour");
        QImage out = canvas({92, 78}, 1);
        QPainter painter(&out);
        drawMascotFit(painter, art, QRectF(0, 0, 92, 78));
        painter.end();
        const double scale = 92.0 / 27.0;
        const double top = (78 - 22 * scale) / 2;
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 27; ++x) {
                const QRgb px = out.pixel(int((x + 0.5) * scale), int(top + (y + 0.5) * scale));
                ASSERT_EQ(px, art.pixel(x, y)) << x << "," << y;
            }
    }
}

} // namespace
