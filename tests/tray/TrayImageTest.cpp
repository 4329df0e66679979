// The tray picture: which hand-drawn size serves a slot, whole-number enlargement, and the shipped
// tray art.

#include "render/TrayImage.h"
#include "render/Art.h"
#include "render/Resources.h"

#include <QScopeGuard>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// A drawing whose every pixel differs from its neighbours, so any blending or shift shows.
QImage checker(int side, QRgb a, QRgb b)
{
    QImage image(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, (x + y) % 2 ? a : b);
    return image;
}

const TraySprite kSprite{
    {checker(16, 0xFF102030, 0xFFF0E0D0), checker(22, 0xFFFF0000, 0xFF0000FF)}};

TEST(TrayFit, TheLargestWholeEnlargementThatFitsTheSlot)
{
    struct Case
    {
        int slot;
        qsizetype drawing;
        int factor;
    };
    const Case cases[] = {
        {16, 0, 1}, {20, 0, 1}, {22, 1, 1}, {24, 1, 1}, {26, 1, 1}, {32, 0, 2},
        {44, 1, 2}, {46, 1, 2}, {48, 0, 3}, {64, 0, 4}, {66, 1, 3}, {12, 0, 0},
    };
    for (const Case& c : cases) {
        const TrayFit fit = trayFit(kSprite, c.slot);
        EXPECT_EQ(fit.drawing, c.drawing) << c.slot;
        EXPECT_EQ(fit.factor, c.factor) << c.slot;
    }
    EXPECT_EQ(trayFit(TraySprite{}, 22).drawing, -1);
    EXPECT_TRUE(renderTrayImage(TraySprite{}, 22).size() == QSize(22, 22));
}

TEST(TrayImage, WholeFactorsCopyBlocksCentredAndNothingIsBlended)
{
    for (int slot : {16, 22, 24, 32, 44, 48, 50}) {
        SCOPED_TRACE(slot);
        const QImage out = renderTrayImage(kSprite, slot);
        ASSERT_EQ(out.size(), QSize(slot, slot));
        const TrayFit fit = trayFit(kSprite, slot);
        const QImage& drawing = kSprite.drawings[fit.drawing];
        const int side = drawing.width() * fit.factor;
        const int offset = (slot - side) / 2;
        for (int y = 0; y < slot; ++y)
            for (int x = 0; x < slot; ++x) {
                const bool inside =
                    x >= offset && y >= offset && x < offset + side && y < offset + side;
                const QRgb expected =
                    inside ? drawing.pixel((x - offset) / fit.factor, (y - offset) / fit.factor)
                           : 0;
                ASSERT_EQ(out.pixel(x, y), expected) << x << "," << y;
            }
    }
    // Smaller than every drawing: shrunk, still only the drawing's own colours.
    const QImage small = renderTrayImage(kSprite, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_TRUE(small.pixel(x, y) == 0xFF102030 || small.pixel(x, y) == 0xFFF0E0D0);
}

TEST(TraySprite, EqualMeansSamePixels)
{
    TraySprite copy{{kSprite.drawings[0].convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     kSprite.drawings[1].copy()}};
    EXPECT_EQ(copy, kSprite);
    copy.drawings[1].setPixel(3, 3, 0xFF00FF00);
    EXPECT_FALSE(copy == kSprite);
    EXPECT_FALSE(TraySprite{{kSprite.drawings[0]}} == kSprite);
}

// Every mascot comes drawn for 16 and 22 pixel slots, animated in step with its 27 x 22 picture:
// the same number of frames and the same delays, so one frame index serves all sizes.
TEST(ShippedTrayArt, EveryMascotIsDrawnForBothSlotSizesInStepWithItsAnimation)
{
    Resources::setBundleDir(QStringLiteral(TOCKWORK_BUILT_SHARE_DIR));
    const auto reset = qScopeGuard([] { Resources::setBundleDir({}); });
    for (const char* mascot : {"ant_work", "ant_lunch", "ant_over", "home"}) {
        const auto full = gifFrames(QLatin1String(mascot));
        ASSERT_TRUE(full) << mascot;
        for (int size : {16, 22}) {
            const QString name = QLatin1String(mascot) + u'_' + QString::number(size);
            SCOPED_TRACE(name.toStdString());
            const auto set = gifFrames(name);
            ASSERT_TRUE(set);
            EXPECT_EQ(set->frames.size(), full->frames.size());
            EXPECT_EQ(set->durations, full->durations);
            QSet<QByteArray> distinct;
            for (const QImage& frame : set->frames) {
                EXPECT_EQ(frame.size(), QSize(size, size));
                distinct.insert(QByteArray(reinterpret_cast<const char*>(frame.constBits()),
                                           frame.sizeInBytes()));
            }
            EXPECT_EQ(distinct.size(), set->frames.size()) << "every frame moves";
            const TraySprite sprite = loadTraySprite(QLatin1String(mascot), 1);
            ASSERT_EQ(sprite.drawings.size(), 2);
            EXPECT_EQ(sprite.drawings[size == 16 ? 0 : 1], set->frames[1]);
        }
    }
}

} // namespace
