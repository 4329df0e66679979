// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/PixelBar.h"

#include "render/Art.h"
#include "render/Colors.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MinCellWidth = 10;
constexpr int VectorSegments = 11;

bool isCellPixel(QRgb px)
{
    if (qAlpha(px) < 128)
        return false;
    const double mean = (qRed(px) + qGreen(px) + qBlue(px)) / (3.0 * 255.0);
    return mean >= 0.4 && mean <= 0.85;
}

// NaN would make the cell count undefined; anything beyond full or below empty draws the same.
double clampedProgress(double progress)
{
    return std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : (progress > 0 ? 1.0 : 0.0);
}

QColor withAlpha(QColor colour, double alpha)
{
    colour.setAlphaF(static_cast<float>(std::clamp(colour.alphaF() * alpha, 0.0, 1.0)));
    return colour;
}

} // namespace

BarCells barCellRuns(const std::optional<QImage>& picture)
{
    if (!picture || picture->isNull())
        return {};
    const QImage bitmap = picture->convertToFormat(QImage::Format_ARGB32);
    if (bitmap.isNull())
        return {};
    const int w = bitmap.width();
    const int h = bitmap.height();
    const int mid = h / 2;

    BarCells result;
    const auto* row = reinterpret_cast<const QRgb*>(bitmap.constScanLine(mid));
    int runStart = -1;
    auto closeRun = [&](int end) {
        if (runStart >= 0 && end - runStart + 1 >= MinCellWidth)
            result.cells.append({runStart, end});
        runStart = -1;
    };
    for (int x = 0; x < w; ++x) {
        if (isCellPixel(row[x])) {
            if (runStart < 0)
                runStart = x;
        } else {
            closeRun(x - 1);
        }
    }
    closeRun(w - 1);
    if (result.cells.size() < 2)
        return {};

    const int x0 = (result.cells.first().first + result.cells.first().second) / 2;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < h; ++y) {
        if (isCellPixel(bitmap.pixel(x0, y))) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    }
    result.yRange = top < 0 ? std::pair{0, h - 1} : std::pair{top, bottom};
    result.width = w;
    result.height = h;
    return result;
}

const std::optional<QImage>& barEmptyArt()
{
    static const std::optional<QImage> art = loadArt(QStringLiteral("bar_empty"));
    return art;
}

const BarCells& barCells()
{
    static const BarCells cells = barCellRuns(barEmptyArt());
    return cells;
}

void drawPixelBar(QPainter& painter, const QRectF& rect, double progress, double alpha)
{
    drawPixelBar(painter, rect, progress, alpha, barGreenColor());
}

void drawPixelBar(QPainter& painter, const QRectF& rect, double progress, double alpha,
                  const QColor& endColor)
{
    drawPixelBarWith(painter, rect, progress, alpha, endColor, barEmptyArt(), barCells());
}

void drawPixelBarWith(QPainter& painter, const QRectF& rect, double progress, double alpha,
                      const QColor& endColor, const std::optional<QImage>& picture,
                      const BarCells& cells)
{
    if (!picture || picture->isNull() || cells.cells.isEmpty() || cells.width < 1 ||
        cells.height < 1) {
        drawBarProgrammatic(painter, rect, progress, alpha);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(painter.opacity() * alpha);
    painter.drawImage(rect, *picture);
    painter.setOpacity(1.0);

    const auto count = static_cast<int>(cells.cells.size());
    const int filled = static_cast<int>(std::round(count * clampedProgress(progress)));
    if (filled > 0) {
        const double sx = rect.width() / cells.width;
        const double sy = rect.height() / cells.height;
        const auto [top, bottom] = cells.yRange;
        const QColor fill = withAlpha(endColor, alpha);
        for (int i = 0; i < std::min(filled, count); ++i) {
            const auto [start, end] = cells.cells[i];
            painter.fillRect(QRectF(rect.x() + sx * start, rect.y() + sy * top,
                                    sx * (end + 1 - start), sy * (bottom + 1 - top)),
                             fill);
        }
    }
    painter.restore();
}

void drawBarProgrammatic(QPainter& painter, const QRectF& rect, double progress, double alpha)
{
    const double p = clampedProgress(progress);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);

    QColor outline = inkColor();
    outline.setAlphaF(static_cast<float>(std::clamp(0.95 * alpha, 0.0, 1.0)));
    painter.setPen(QPen(outline, 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect, 2.5, 2.5);

    const int filled = static_cast<int>(std::round(p * VectorSegments));
    const double segmentWidth = (rect.width() - 4.8 - 15.0) / VectorSegments;
    // Each colour keeps its own transparency: the empty segments' faint grey would otherwise turn
    // into solid ink and look exactly like full ones.
    const QColor warm = withAlpha(warmColor(p), alpha);
    const QColor faint = withAlpha(faintColor(), alpha);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < VectorSegments; ++i) {
        painter.setBrush(i < filled ? warm : faint);
        painter.drawRoundedRect(QRectF(rect.x() + 2.4 + (segmentWidth + 1.5) * i, rect.y() + 2.4,
                                       std::max(0.0, segmentWidth), rect.height() - 4.8),
                                1.0, 1.0);
    }
    painter.restore();
}
