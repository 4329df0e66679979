// SPDX-License-Identifier: GPL-3.0-or-later
// The tray picture: which hand-drawn size serves a slot, whole-number enlargement, and the shipped
// tray art.

#include "render/TrayImage.h"
#include "render/Art.h"
#include "render/Colors.h"
#include "render/Resources.h"

#include <QDir>
#include <QPainter>
#include <QScopeGuard>

#include <QSet>
#include <cmath>
#include <tuple>

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

const TraySprite kSprite{{checker(16, 0xFF102030, 0xFFF0E0D0), checker(22, 0xFFFF0000, 0xFF0000FF)},
                         std::nullopt};

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
                     kSprite.drawings[1].copy()},
                    std::nullopt};
    EXPECT_EQ(copy, kSprite);
    copy.drawings[1].setPixel(3, 3, 0xFF00FF00);
    EXPECT_FALSE(copy == kSprite);
    EXPECT_FALSE((TraySprite{{kSprite.drawings[0]}, std::nullopt} == kSprite));
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

// The day's progress under the ant, in the slots trays give at 1x: pixel for pixel where the
// bar lies and how much of it is filled, and the ant whole above it in every frame.
TEST(TrayBarImage, WholePixelsUnderTheAntInSixteenTwentyTwoAndTwentyFourPixelSlots)
{
    Resources::setBundleDir(QStringLiteral(TOCKWORK_BUILT_SHARE_DIR));
    const auto reset = qScopeGuard([] { Resources::setBundleDir({}); });
    struct Slot
    {
        int pixels;
        QRect track;
        int filledAt35;
        int filledAt70;
    };
    const Slot slots[] = {{16, QRect(1, 15, 14, 1), 5, 10},
                          {22, QRect(1, 21, 20, 1), 7, 14},
                          {24, QRect(1, 22, 22, 2), 8, 15}};
    const QRgb green = barGreenColor().rgb();
    const QRgb red = barOverColor().rgb();
    for (const Slot& slot : slots) {
        for (const char* mascot : {"ant_work", "ant_lunch", "ant_over", "home"}) {
            const int frames = int(gifFrames(QLatin1String(mascot) + "_16")->frames.size());
            for (int frame = 0; frame < frames; ++frame) {
                SCOPED_TRACE(testing::Message()
                             << mascot << " frame " << frame << " in " << slot.pixels << " px");
                TraySprite sprite = loadTraySprite(QLatin1String(mascot), frame);
                const QImage alone = renderTrayImage(sprite, slot.pixels);
                for (const auto& [status, filled] :
                     {std::pair{Status{DayState::working, 0.35, 168, 312, 0}, slot.filledAt35},
                      std::pair{Status{DayState::working, 0.7, 336, 144, 0}, slot.filledAt70},
                      std::pair{Status{DayState::overtime, 1, 480, 0, 65}, slot.track.width()}}) {
                    sprite.bar = trayBarFor(status);
                    EXPECT_EQ(trayBarLayout(*sprite.bar, slot.pixels).track, slot.track);
                    const QImage image = renderTrayImage(sprite, slot.pixels);
                    ASSERT_EQ(image.size(), QSize(slot.pixels, slot.pixels));
                    const QRgb fill = status.state == DayState::overtime ? red : green;
                    for (int y = slot.track.top(); y <= slot.track.bottom(); ++y)
                        for (int x = 0; x < slot.pixels; ++x) {
                            const QRgb want = !slot.track.contains(x, y)
                                                  ? image.pixel(x, y) // checked with the ant
                                              : x - slot.track.left() < filled ? fill
                                                                               : 0xFF8A8A8A;
                            ASSERT_EQ(image.pixel(x, y), want) << x << "," << y;
                        }
                    // The ant is the same picture, risen only where it had to: every one of its
                    // pixels is there, shifted by whole rows, except those the bar lies over
                    // where the drawing fills its slot from top to bottom.
                    int bestShift = 0;
                    int bestKept = -1;
                    for (int shift = 0; shift <= 2; ++shift) {
                        int kept = 0;
                        for (int y = shift; y < slot.pixels; ++y)
                            for (int x = 0; x < slot.pixels; ++x)
                                kept += qAlpha(alone.pixel(x, y)) &&
                                        alone.pixel(x, y) == image.pixel(x, y - shift);
                        if (kept > bestKept)
                            std::tie(bestKept, bestShift) = std::tie(kept, shift);
                    }
                    for (int y = 0; y < slot.pixels; ++y)
                        for (int x = 0; x < slot.pixels; ++x) {
                            if (!qAlpha(alone.pixel(x, y)) || y - bestShift >= slot.track.top())
                                continue;
                            ASSERT_GE(y - bestShift, 0) << "the ant lost its top row";
                            ASSERT_EQ(image.pixel(x, y - bestShift), alone.pixel(x, y))
                                << x << "," << y;
                        }
                    if (QLatin1String(mascot) != QLatin1String("home")) {
                        for (int x = 0; x < slot.pixels; ++x)
                            for (int y = slot.track.top() + bestShift; y < slot.pixels; ++y)
                                EXPECT_EQ(qAlpha(alone.pixel(x, y)), 0)
                                    << "the bar hides the ant at " << x << "," << y;
                    }
                }
            }
        }
    }
}

// A picture to look at: the working ant at 35 % and 70 % in 16, 22 and 24 pixel slots, on a light
// and a dark panel, eight times enlarged (test-screens/tray/tray-bar.png).
TEST(TrayBarImage, PicturedOnLightAndDarkPanels)
{
    Resources::setBundleDir(QStringLiteral(TOCKWORK_BUILT_SHARE_DIR));
    const auto reset = qScopeGuard([] { Resources::setBundleDir({}); });
    constexpr int kZoom = 8;
    constexpr int kCell = 28 * kZoom;
    QImage sheet(kCell * 6, kCell * 2, QImage::Format_ARGB32);
    QPainter painter(&sheet);
    int column = 0;
    for (const int slot : {16, 22, 24})
        for (const double progress : {0.35, 0.7}) {
            TraySprite sprite = loadTraySprite(QStringLiteral("ant_work"));
            sprite.bar = trayBarFor(Status{DayState::working, progress, 0, 0, 0});
            const QImage image = renderTrayImage(sprite, slot)
                                     .scaled(slot * kZoom, slot * kZoom, Qt::IgnoreAspectRatio,
                                             Qt::FastTransformation);
            for (int row = 0; row < 2; ++row) {
                const QRect cell(column * kCell, row * kCell, kCell, kCell);
                painter.fillRect(cell,
                                 row == 0 ? QColor(0xf5, 0xf5, 0xf5) : QColor(0x29, 0x29, 0x29));
                painter.drawImage(cell.center() - image.rect().center(), image);
            }
            ++column;
        }
    painter.end();
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(TOCKWORK_TRAY_SHOTS_DIR)));
    EXPECT_TRUE(sheet.save(QStringLiteral(TOCKWORK_TRAY_SHOTS_DIR "/tray-bar.png")));
}

TEST(TrayBarImage, FollowsThePanelsBarThroughTheDay)
{
    const auto bar = [](DayState state, double progress) {
        return trayBarFor(Status{state, progress, 0, 0, 0});
    };
    EXPECT_EQ(bar(DayState::working, 0.3504), (TrayBar{0.35, false, false}));
    EXPECT_EQ(bar(DayState::lunch, 0.4), (TrayBar{0.4, false, false}));
    EXPECT_EQ(bar(DayState::overtime, 1), (TrayBar{1, true, false}));
    EXPECT_EQ(bar(DayState::dinner, 1), (TrayBar{1, true, false}));
    EXPECT_EQ(bar(DayState::done, 1), (TrayBar{1, false, true}));
    EXPECT_EQ(bar(DayState::off, 0), (TrayBar{0, false, true}));
    EXPECT_EQ(bar(DayState::before, -0.2), (TrayBar{0, false, false}));
    EXPECT_EQ(bar(DayState::working, std::nan("")), (TrayBar{0, false, false}));
    // Halves away from zero, as the panel counts its cells; the faded bar keeps its pixels.
    EXPECT_EQ(trayBarLayout(TrayBar{0.25}, 16).filled, 4);
    EXPECT_EQ(trayBarLayout(TrayBar{0.5 / 14}, 16).filled, 1);
    EXPECT_EQ(trayBarLayout(TrayBar{0.02}, 16).filled, 0);
    const QImage faded =
        renderTrayImage(TraySprite{{checker(16, 0, 0)}, bar(DayState::done, 1)}, 16);
    const QRgb dim = faded.pixel(1, 15);
    EXPECT_EQ(qAlpha(dim), 102);
    EXPECT_NEAR(qGreen(dim), barGreenColor().green(), 2);
    EXPECT_NEAR(qRed(dim), barGreenColor().red(), 2);
    // A change of the bar is a new picture for the tray; the same pixels are not.
    TraySprite a = kSprite;
    a.bar = bar(DayState::working, 0.35);
    TraySprite b = a;
    EXPECT_EQ(a, b);
    b.bar = bar(DayState::working, 0.7);
    EXPECT_FALSE(a == b);
}

} // namespace
