// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/DemoLayout.h"

#include <algorithm>

QList<QPoint> demoRow(const QRect& area, const QList<QSize>& sizes, int gap, int top)
{
    int total = sizes.isEmpty() ? 0 : gap * int(sizes.size() - 1);
    for (const QSize& size : sizes)
        total += size.width();
    int x = area.left() + (area.width() - total) / 2;
    QList<QPoint> origins;
    for (const QSize& size : sizes) {
        origins.append(QPoint(x, area.top() + top));
        x += size.width() + gap;
    }
    return origins;
}

QList<QPoint> demoRowOrGrid(const QRect& area, const QList<QSize>& sizes, int gap, int top)
{
    int rowWidth = sizes.isEmpty() ? 0 : gap * int(sizes.size() - 1);
    for (const QSize& size : sizes)
        rowWidth += size.width();
    if (rowWidth <= area.width() - 40)
        return demoRow(area, sizes, gap, top);

    // Two columns: each as wide as its widest panel, each row as high as its tallest.
    const auto at = [&](qsizetype i) { return i < sizes.size() ? sizes[i] : QSize(); };
    const int col0 = std::max(at(0).width(), at(2).width());
    const int col1 = std::max(at(1).width(), at(3).width());
    const int row0 = std::max(at(0).height(), at(1).height());
    const int row1 = std::max(at(2).height(), at(3).height());
    const int left = area.left() + (area.width() - (col0 + gap + col1)) / 2;
    const int topY = area.top() + (area.height() - (row0 + gap + row1)) / 2;
    QList<QPoint> origins;
    for (qsizetype i = 0; i < sizes.size() && i < 4; ++i)
        origins.append(QPoint(left + (i % 2 ? col0 + gap : 0), topY + (i / 2 ? row0 + gap : 0)));
    return origins;
}

bool isBuiltInOutput(const QString& name)
{
    for (const char* prefix : {"eDP", "LVDS", "DSI"})
        if (name.startsWith(QLatin1String(prefix)))
            return true;
    return false;
}

std::optional<qsizetype> largestExternalScreen(const QStringList& names,
                                               const QList<QRect>& geometries)
{
    std::optional<qsizetype> best;
    qint64 bestArea = -1;
    for (qsizetype i = 0; i < names.size() && i < geometries.size(); ++i) {
        if (isBuiltInOutput(names[i]))
            continue;
        const qint64 area = qint64(geometries[i].width()) * geometries[i].height();
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    return best;
}
