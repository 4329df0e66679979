// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>

#include <optional>
#include <utility>

class QPainter;

// The empty cells of a bar picture: the opaque mid-grey runs of its middle row.
struct BarCells
{
    QList<std::pair<int, int>> cells; // first and last pixel column of each cell, left to right
    std::pair<int, int> yRange{0, 0}; // first and last pixel row the cells cover, from the top
    int width = 0;
    int height = 0;

    bool operator==(const BarCells&) const = default;
};

// Pure function of the picture's pixels; no cells unless the middle row holds two or more grey
// runs of at least 10 pixels.
BarCells barCellRuns(const std::optional<QImage>& picture);

// The "bar_empty" picture and its cells, looked up once per process on first use.
const std::optional<QImage>& barEmptyArt();
const BarCells& barCells();

// The day's progress as the pixel bar stretched into `rect`; `progress` above 1 draws full. Falls
// back to drawBarProgrammatic when there is no usable bar picture.
void drawPixelBar(QPainter& painter, const QRectF& rect, double progress, double alpha);
void drawPixelBar(QPainter& painter, const QRectF& rect, double progress, double alpha,
                  const QColor& endColor);
// The same with an explicit picture and cell layout instead of the process-wide ones.
void drawPixelBarWith(QPainter& painter, const QRectF& rect, double progress, double alpha,
                      const QColor& endColor, const std::optional<QImage>& picture,
                      const BarCells& cells);

// The vector bar: eleven rounded segments in a rounded outline.
void drawBarProgrammatic(QPainter& painter, const QRectF& rect, double progress, double alpha);
