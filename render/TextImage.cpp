// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/TextImage.h"

#include "render/Colors.h"
#include "render/MonaFont.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QRawFont>
#include <QRegularExpression>
#include <QTextDocument>

#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>

namespace {

// Images are drawn at most this wide, so a runaway text cannot ask for gigabytes.
constexpr double kMaxImagePoints = 8192;

qreal resolveRatio(qreal requested)
{
    if (requested > 0 && std::isfinite(requested))
        return std::min<qreal>(requested, 8);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return std::max<qreal>(app->devicePixelRatio(), 1);
    return 1;
}

double pointSize(const QFont& font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF();
}

// The pixel font's regular face at the size of `font`: glyphs are looked up and measured in it,
// whatever face the text itself is set in. Invalid when the pixel font is not installed.
QRawFont pixelRawFont(const QFont& font)
{
    const QFont pixel = mona(pointSize(font));
    if (!isMonaFont(pixel))
        return {};
    QRawFont raw = QRawFont::fromFont(pixel);
    return raw.isValid() ? raw : QRawFont();
}

quint32 glyphFor(const QRawFont& raw, char32_t scalar)
{
    if (!raw.isValid() || !raw.supportsCharacter(uint(scalar)))
        return 0;
    const QString text = QString::fromUcs4(&scalar, 1);
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    return glyphs.size() == 1 ? glyphs.first() : 0;
}

struct LineMetrics
{
    double ascent, descent, lineH, height;
};

LineMetrics lineMetrics(const QFont& font, const QRawFont& raw)
{
    double ascent, descent;
    if (raw.isValid()) {
        ascent = raw.ascent();
        descent = raw.descent();
    } else {
        const QFontMetricsF metrics(font);
        ascent = metrics.ascent();
        descent = metrics.descent();
    }
    const double lineH = std::ceil(ascent + descent);
    const double height = std::max({lineH, std::ceil(pointSize(font) * LINE_H_MULT), 1.0});
    return {ascent, descent, lineH, height};
}

QImage blankImage(double width, double height, qreal ratio)
{
    const int w = std::max(1, int(std::ceil(std::min(width, kMaxImagePoints) * ratio)));
    const int h = std::max(1, int(std::ceil(std::min(height, kMaxImagePoints) * ratio)));
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

// Baselines land on whole device pixels, otherwise the pixel glyphs straddle two rows.
double snap(double y, qreal ratio)
{
    return std::round(y * ratio) / ratio;
}

} // namespace

QList<LineSegment> monaLineSegments(const QString& text, const QFont& font)
{
    const QRawFont raw = pixelRawFont(font);
    const QFontMetricsF metrics(font);
    const double minGlyphWidth = std::ceil(pointSize(font)) + 2;

    QList<LineSegment> segments;
    QString pending;
    const auto flush = [&] {
        if (pending.isEmpty())
            return;
        segments.append(LineSegment{false, pending, 0, metrics.horizontalAdvance(pending)});
        pending.clear();
    };

    for (const char32_t scalar : text.toUcs4()) {
        if (scalar == 0xFE0E || scalar == 0xFE0F)
            continue;
        if (scalar >= 0x2101 && u_hasBinaryProperty(UChar32(scalar), UCHAR_EMOJI)) {
            if (const quint32 glyph = glyphFor(raw, scalar)) {
                flush();
                const QList<QPointF> advances = raw.advancesForGlyphIndexes({glyph});
                const double advance = advances.isEmpty() ? 0 : advances.first().x();
                segments.append(
                    LineSegment{true, {}, glyph, std::max(std::ceil(advance), minGlyphWidth)});
                continue;
            }
        }
        pending += QString::fromUcs4(&scalar, 1);
    }
    flush();
    return segments;
}

QImage renderMonaLine(const QString& text, const QFont& font, const QColor& colour,
                      qreal devicePixelRatio)
{
    const qreal ratio = resolveRatio(devicePixelRatio);
    const QRawFont raw = pixelRawFont(font);
    const LineMetrics m = lineMetrics(font, raw);
    const QList<LineSegment> segments = monaLineSegments(text, font);
    double total = 0;
    for (const LineSegment& segment : segments)
        total += segment.width;

    QImage image = blankImage(std::max(std::ceil(total), 1.0), m.height, ratio);
    if (segments.isEmpty())
        return image;

    const double yOff = (m.height - m.lineH) * 0.5;
    const double textDescent = QFontMetricsF(font).descent();
    const double textBaseline = snap(m.height - yOff - textDescent, ratio);
    const double glyphBaseline = snap(m.height - yOff - m.descent, ratio);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setPen(colour);
    painter.setFont(font);
    double x = 0;
    for (const LineSegment& segment : segments) {
        if (x >= kMaxImagePoints)
            break;
        if (segment.isGlyph) {
            QGlyphRun run;
            run.setRawFont(raw);
            run.setGlyphIndexes({segment.glyph});
            run.setPositions({QPointF(0, 0)});
            painter.drawGlyphRun(QPointF(x, glyphBaseline), run);
        } else {
            painter.drawText(QPointF(x, textBaseline), segment.text);
        }
        x += segment.width;
    }
    return image;
}

QImage renderAttr(const AttributedText& text, qreal devicePixelRatio)
{
    const qreal ratio = resolveRatio(devicePixelRatio);
    if (text.isEmpty())
        return blankImage(1, 1, ratio);
    QTextDocument document;
    text.fillDocument(document);
    // Lay out once unconstrained to learn the natural width, then at that width so that right
    // or centred alignment has a line to align within.
    document.setTextWidth(-1);
    const double width = std::ceil(document.idealWidth());
    document.setTextWidth(std::max(width, 1.0));
    const double height = std::ceil(document.size().height());

    QImage image = blankImage(std::max(width, 1.0), std::max(height, 1.0), ratio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    document.drawContents(&painter);
    return image;
}

AttributedText coloredAmount(const QString& text, const QColor& colour, const QFont& font)
{
    static const QRegularExpression amount(QStringLiteral("[0-9,]+원"));
    AttributedText result;
    result.alignment = Qt::AlignRight;
    result.lineHeight = LINE_H_MULT;
    const QColor ink = inkColor();
    const QRegularExpressionMatch match = amount.match(text);
    if (!match.hasMatch()) {
        result.runs.append(TextRun{text, font, ink});
        return result;
    }
    const qsizetype start = match.capturedStart(), end = match.capturedEnd();
    if (start > 0)
        result.runs.append(TextRun{text.left(start), font, ink});
    result.runs.append(TextRun{text.mid(start, end - start), font, colour});
    if (end < text.size())
        result.runs.append(TextRun{text.mid(end), font, ink});
    return result;
}
