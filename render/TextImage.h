// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/AttributedText.h"
#include "render/LineHeight.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QString>

// Lines of text drawn as images in the pixel font. Emoji the pixel font draws itself (its own
// pixel hearts and stars) come from the pixel font's glyph; emoji it lacks are drawn by the
// system's colour emoji font.

// One piece of a line: plain text drawn by the text engine, or one glyph of the pixel font.
struct LineSegment
{
    bool isGlyph = false;
    QString text;      // when not a glyph
    quint32 glyph = 0; // glyph index in the pixel font, when a glyph
    double width = 0;  // in points
};

// The segments `text` is drawn as, left to right without gaps. Variation selectors (U+FE0E,
// U+FE0F) are dropped.
QList<LineSegment> monaLineSegments(const QString& text, const QFont& font);

// One line of `text` as an image of ceil(width) x max(line height, ceil(size x 1.4)) points, the
// text vertically centred, at `devicePixelRatio` pixels per point (0: the screens' highest).
// An empty text gives a 1 point wide image.
QImage renderMonaLine(const QString& text, const QFont& font, const QColor& colour,
                      qreal devicePixelRatio = 0);

// A styled text as an image of its natural size (at least 1 x 1 point).
QImage renderAttr(const AttributedText& text, qreal devicePixelRatio = 0);

// `text` right-aligned in inkColor() with lines 1.4 high, its first amount in won ("12,345원")
// in `colour`.
AttributedText coloredAmount(const QString& text, const QColor& colour, const QFont& font);
