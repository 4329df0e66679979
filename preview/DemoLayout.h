// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <optional>

// Where the panel demos put their windows (top-left corners, Qt's screen coordinates).

// One row centred horizontally in `area`, `gap` apart, every top `top` below the area's top.
QList<QPoint> demoRow(const QRect& area, const QList<QSize>& sizes, int gap, int top);

// The row when it fits into the area's width less 40, otherwise a 2 x 2 grid (filled row by row)
// centred on the area.
QList<QPoint> demoRowOrGrid(const QRect& area, const QList<QSize>& sizes, int gap, int top);

// Built-in panels of laptops: outputs named eDP..., LVDS... or DSI...
bool isBuiltInOutput(const QString& name);

// Of screens given by output name and geometry, the index of the largest that is not built in
// (the earlier one on equal areas), or none.
std::optional<qsizetype> largestExternalScreen(const QStringList& names,
                                               const QList<QRect>& geometries);
