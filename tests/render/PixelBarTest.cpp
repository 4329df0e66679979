// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/PixelBar.h"
#include "render/Appearance.h"
#include "render/Colors.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace {

constexpr QRgb Dark = 0xFF202020, Grey = 0xFF909090;

// A 9-row bar picture: before each run one dark column, then a grey run over rows 2...6.
QImage barWithRuns(const std::vector<int>& widths, int trailing = 1)
{
    const int width = std::accumulate(widths.begin(), widths.end(), trailing) + int(widths.size());
    QImage image(width, 9, QImage::Format_ARGB32);
    image.fill(Dark);
    QPainter painter(&image);
    for (int x = 1; int w : widths) {
        painter.fillRect(x, 2, w, 5, QColor::fromRgba(Grey));
        x += w + 1;
    }
    return image;
}

TEST(BarCells, GreyRunsOfTenOrMoreInTheMiddleRow)
{
    using Cells = QList<std::pair<int, int>>;
    EXPECT_EQ(barCellRuns(barWithRuns({10, 10})).cells, Cells({{1, 10}, {12, 21}}));
    EXPECT_EQ(barCellRuns(barWithRuns({9, 10, 10})).cells, Cells({{11, 20}, {22, 31}}));
    EXPECT_EQ(barCellRuns(barWithRuns({12, 10}, 0)).cells, Cells({{1, 12}, {14, 23}}));
    EXPECT_EQ(barCellRuns(barWithRuns({10, 9})), BarCells{}); // one run is not a bar
    // mean grey up to 0.847 counts; 0.851 and translucent grey do not
    const std::pair<QRgb, int> greys[] = {
        {qRgb(216, 216, 216), 2}, {qRgb(217, 217, 217), 0}, {qRgba(144, 144, 144, 127), 0}};
    for (const auto& [grey, count] : greys) {
        QImage image = barWithRuns({10, 10});
        for (int x = 12; x <= 21; ++x)
            image.setPixel(x, 4, grey);
        EXPECT_EQ(barCellRuns(image).cells.size(), count) << std::hex << grey;
    }
}

QImage paint(const QImage& bar, double progress, QSize size)
{
    QImage out(size, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    drawPixelBarWith(painter, out.rect(), progress, 1, barGreenColor(), bar, barCellRuns(bar));
    return out;
}

TEST(PixelBar, FillsRoundedCellsFromTheLeftStretchedOverTheCellsOnly)
{
    const QImage bar = barWithRuns(std::vector<int>(10, 10));
    const std::pair<double, int> cases[] = {{0.04, 0}, {0.05, 1}, {0.25, 3},        {1, 10},
                                            {1.7, 10}, {-0.3, 0}, {std::nan(""), 0}};
    for (const auto& [progress, cells] : cases) {
        // stretched x3 / x2: picture pixel (x, y) becomes (3x...3x+2, 2y...2y+1)
        const QImage out = paint(bar, progress, {bar.width() * 3, bar.height() * 2});
        for (int cell = 0; cell < 10; ++cell) {
            const int first = 1 + cell * 11;
            EXPECT_EQ(out.pixel(first * 3, 4), cell < cells ? barGreenColor().rgba() : Grey)
                << progress << cell;
            EXPECT_EQ(out.pixel(first * 3, 3), Dark); // never over the frame
        }
    }
}

// Centre colour of each of the vector bar's eleven segments in a 126 x 32 image.
QList<QRgb> segmentCentres(const QImage& out)
{
    const double sw = (126 - 4.8 - 15.0) / 11;
    QList<QRgb> centres;
    for (int i = 0; i < 11; ++i)
        centres.append(out.pixel(int(2.4 + (sw + 1.5) * i + sw / 2), 16));
    return centres;
}

TEST(VectorBar, StandsInForAPictureWithoutCellsAndHalfFillsSixOfElevenSegments)
{
    uiDarkOverride = false;
    const QList<QRgb> centres = segmentCentres(paint(barWithRuns({10, 9}), 0.5, {126, 32}));
    for (int i = 0; i < 11; ++i) {
        if (i < 6)
            EXPECT_EQ(centres[i], warmColor(0.5).rgba()) << i;
        else
            EXPECT_NEAR(qAlpha(centres[i]), faintColor().alpha(), 2) << i;
    }
    uiDarkOverride.reset();
}

} // namespace
