#include "PixelBar.h"
#include "Appearance.h"
#include "Colors.h"
#include "RenderTestSupport.h"

#include <QPainter>

#include <cmath>
#include <limits>

using namespace RenderTest;

namespace {

constexpr QRgb Dark = 0xFF202020;
constexpr QRgb Grey = 0xFF909090;

// A bar picture whose middle row (row 4 of 9) holds grey runs of the given widths, one dark
// pixel before each; the grey of each run covers rows 2...6.
QImage barWithRuns(const std::vector<int>& widths, int trailing = 1)
{
    int width = trailing;
    for (int w : widths)
        width += w + 1;
    QImage image(width, 9, QImage::Format_ARGB32);
    image.fill(Dark);
    int x = 0;
    for (int w : widths) {
        x += 1;
        for (int y = 2; y <= 6; ++y)
            for (int i = 0; i < w; ++i)
                image.setPixel(x + i, y, Grey);
        x += w;
    }
    return image;
}

struct RunCase
{
    const char* name;
    std::vector<int> widths;
    int trailing;
    QList<std::pair<int, int>> cells;
};

class CellRuns : public testing::TestWithParam<RunCase>
{};

TEST_P(CellRuns, FindsGreyRunsOfTenOrMore)
{
    const RunCase& c = GetParam();
    const BarCells cells = barCellRuns(barWithRuns(c.widths, c.trailing));
    EXPECT_EQ(cells.cells, c.cells);
    if (!c.cells.isEmpty()) {
        EXPECT_EQ(cells.yRange, std::pair(2, 6));
        EXPECT_EQ(cells.height, 9);
    } else {
        EXPECT_EQ(cells, BarCells{});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bars, CellRuns,
    testing::Values(RunCase{"two_of_ten", {10, 10}, 1, {{1, 10}, {12, 21}}},
                    RunCase{"nine_is_ignored", {9, 10, 10}, 1, {{11, 20}, {22, 31}}},
                    RunCase{"one_run_is_not_a_bar", {10, 9}, 1, {}},
                    RunCase{"run_open_at_the_last_column", {12, 10}, 0, {{1, 12}, {14, 23}}},
                    RunCase{"no_runs", {}, 5, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CellRunsPixels, GreyLimitsAlphaAndMissingPicture)
{
    // mean grey 0.4 and 0.847 count; 0.851, translucent grey and no picture do not
    const auto barOf = [](QRgb grey) {
        QImage image = barWithRuns({10, 10});
        for (int x = 12; x <= 21; ++x)
            image.setPixel(x, 4, grey);
        return barCellRuns(image).cells.size();
    };
    EXPECT_EQ(barOf(qRgb(102, 102, 102)), 2);
    EXPECT_EQ(barOf(qRgb(216, 216, 216)), 2);
    EXPECT_EQ(barOf(qRgb(217, 217, 217)), 0);
    EXPECT_EQ(barOf(qRgba(144, 144, 144, 127)), 0);
    EXPECT_EQ(barOf(qRgba(144, 144, 144, 128)), 2);
    EXPECT_EQ(barCellRuns(std::nullopt), BarCells{});
    EXPECT_EQ(barCellRuns(QImage()), BarCells{});
}

TEST(CellRunsPixels, VerticalExtentComesFromTheFirstCellsMiddleColumn)
{
    QImage image = barWithRuns({11, 10});
    // first cell's middle column is x = 6: grey also at row 8, a gap at row 5
    image.setPixel(6, 8, Grey);
    image.setPixel(6, 5, Dark);
    // other columns of the cell do not matter
    image.setPixel(3, 0, Grey);
    EXPECT_EQ(barCellRuns(image).yRange, std::pair(2, 8));
}

// A 10-cell bar painted 1:1; counts the cells whose centre took the fill colour.
int filledCells(double progress, QRgb fill = barGreenColor().rgba())
{
    const QImage bar = barWithRuns(std::vector<int>(10, 10));
    const BarCells cells = barCellRuns(bar);
    QImage out(bar.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    drawPixelBarWith(painter, QRectF(bar.rect()), progress, 1.0, QColor::fromRgba(fill), bar,
                     cells);
    painter.end();
    int count = 0;
    for (const auto& [start, end] : cells.cells) {
        const int mid = (start + end) / 2;
        if (out.pixel(mid, 4) == fill) {
            ++count;
            // filled exactly over the cells' rows, never over the frame
            EXPECT_EQ(out.pixel(mid, 2), fill);
            EXPECT_EQ(out.pixel(mid, 6), fill);
            EXPECT_EQ(out.pixel(mid, 1), Dark);
            EXPECT_EQ(out.pixel(mid, 7), Dark);
            EXPECT_EQ(out.pixel(start - 1, 4), Dark);
        } else {
            EXPECT_EQ(out.pixel(mid, 4), Grey);
        }
    }
    return count;
}

struct FillCase
{
    double progress;
    int cells;
};

class PixelBarFill : public testing::TestWithParam<FillCase>
{};

TEST_P(PixelBarFill, FillsCellsFromTheLeft)
{
    EXPECT_EQ(filledCells(GetParam().progress), GetParam().cells);
}

INSTANTIATE_TEST_SUITE_P(Progress, PixelBarFill,
                         testing::Values(FillCase{0, 0}, FillCase{0.04, 0}, FillCase{0.05, 1},
                                         FillCase{0.25, 3}, FillCase{0.5, 5}, FillCase{1, 10},
                                         FillCase{1.7, 10}, FillCase{-0.3, 0},
                                         FillCase{std::numeric_limits<double>::quiet_NaN(), 0},
                                         FillCase{std::numeric_limits<double>::infinity(), 10}));

TEST(PixelBarDrawing, OvertimeColourAndAlpha)
{
    EXPECT_EQ(filledCells(1.0, barOverColor().rgba()), 10);

    const QImage bar = barWithRuns({10, 10});
    QImage out(bar.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    drawPixelBarWith(painter, QRectF(bar.rect()), 1.0, 0.5, barGreenColor(), bar, barCellRuns(bar));
    painter.end();
    EXPECT_NEAR(qAlpha(out.pixel(5, 0)), 128, 2); // the frame, faded
    EXPECT_NEAR(qAlpha(out.pixel(5, 4)), 191, 3); // the fill over the faded grey
}

TEST(PixelBarDrawing, StretchesThePictureIntoTheRect)
{
    const QImage bar = barWithRuns({10, 10});
    QImage out(bar.width() * 3, bar.height() * 2, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    drawPixelBarWith(painter, QRectF(out.rect()), 0.5, 1.0, barGreenColor(), bar, barCellRuns(bar));
    painter.end();
    const QRgb green = barGreenColor().rgba();
    // first cell: columns 1...10 -> 3...32, rows 2...6 -> 4...13
    EXPECT_EQ(out.pixel(3, 4), green);
    EXPECT_EQ(out.pixel(32, 13), green);
    EXPECT_EQ(out.pixel(2, 4), Dark);
    EXPECT_EQ(out.pixel(3, 3), Dark);
    EXPECT_EQ(out.pixel(3, 14), Dark);
    EXPECT_EQ(out.pixel(40, 8), Grey); // second cell stays empty
}

// Centre colour of each of the eleven vector segments.
QList<QRgb> vectorSegments(double progress, bool usePixelBarWithoutCells)
{
    const QRectF rect(0, 0, 126, 32);
    QImage out(126, 32, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    if (usePixelBarWithoutCells)
        drawPixelBarWith(painter, rect, progress, 1.0, barGreenColor(), barWithRuns({10, 9}),
                         barCellRuns(barWithRuns({10, 9})));
    else
        drawBarProgrammatic(painter, rect, progress, 1.0);
    painter.end();
    const double sw = (126 - 4.8 - 15.0) / 11;
    QList<QRgb> centres;
    for (int i = 0; i < 11; ++i)
        centres.append(out.pixel(int(2.4 + (sw + 1.5) * i + sw / 2), 16));
    return centres;
}

TEST(VectorBar, HalfFillsSixOfElevenSegments)
{
    uiDarkOverride = false;
    const QList<QRgb> centres = vectorSegments(0.5, false);
    const QRgb warm = warmColor(0.5).rgba();
    for (int i = 0; i < 11; ++i) {
        if (i < 6) {
            EXPECT_EQ(centres[i], warm) << i;
        } else {
            // empty segments keep the faint grey's own transparency
            EXPECT_NEAR(qAlpha(centres[i]), faintColor().alpha(), 2) << i;
            EXPECT_LT(qAlpha(centres[i]), 128) << i;
        }
    }
    uiDarkOverride.reset();
}

TEST(VectorBar, UsedWhenThePictureHasNoCells)
{
    uiDarkOverride = false;
    EXPECT_EQ(vectorSegments(0.5, true), vectorSegments(0.5, false));
    const QList<QRgb> empty = vectorSegments(0, false);
    for (QRgb centre : empty)
        EXPECT_LT(qAlpha(centre), 128);
    uiDarkOverride.reset();
}

} // namespace
