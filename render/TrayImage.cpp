// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/TrayImage.h"

#include "render/Art.h"
#include "render/Colors.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The art names of the tray drawings of a mascot, finest first.
constexpr std::array<int, 2> kDrawnSizes{16, 22};

int longestSide(const QImage& image)
{
    return std::max(image.width(), image.height());
}

std::optional<QImage> frameOf(const QString& name, int frame)
{
    if (const auto set = gifFrames(name))
        return set->frames.at(std::max(0, frame) % set->frames.size());
    return loadArt(name);
}

// Track of the bar: a mid grey that reads on light and dark panels alike.
const QColor kTrackColour(0x8a, 0x8a, 0x8a);

// First and one past the last row holding a visible pixel; {0, 0} for an empty picture.
std::pair<int, int> inkRows(const QImage& image)
{
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) > 0) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    }
    return first < 0 ? std::pair{0, 0} : std::pair{first, last + 1};
}

} // namespace

TrayBar trayBarFor(const Status& status)
{
    const double progress = std::isfinite(status.progress) ? status.progress : 0;
    TrayBar bar;
    bar.progress = std::round(std::clamp(progress, 0.0, 1.0) * 1000) / 1000;
    bar.overtime = status.state == DayState::overtime || status.state == DayState::dinner;
    bar.faded = status.state == DayState::done || status.state == DayState::off;
    return bar;
}

TrayBarLayout trayBarLayout(const TrayBar& bar, int slotPixels)
{
    const int slot = std::clamp(slotPixels, 1, 1024);
    // One row up to 23 pixels, two at 24 to 35, ...; a pixel of margin per 16 on either side.
    const int height = std::max(1, slot / 12);
    const int margin = slot >= 8 ? std::max(1, slot / 16) : 0;
    TrayBarLayout layout;
    layout.track = QRect(margin, slot - height, slot - 2 * margin, height);
    const double progress = std::clamp(std::isfinite(bar.progress) ? bar.progress : 0, 0.0, 1.0);
    // Halves away from zero, as the panel's bar counts its cells.
    layout.filled = int(std::round(layout.track.width() * progress));
    return layout;
}

bool TraySprite::operator==(const TraySprite& other) const
{
    if (drawings.size() != other.drawings.size() || bar != other.bar)
        return false;
    for (qsizetype i = 0; i < drawings.size(); ++i) {
        const QImage& a = drawings[i];
        const QImage& b = other.drawings[i];
        // QImage only compares pixels within one format: a converted copy must still count.
        if (a.format() == b.format() ? a != b
                                     : a.convertToFormat(QImage::Format_ARGB32) !=
                                           b.convertToFormat(QImage::Format_ARGB32))
            return false;
    }
    return true;
}

TrayFit trayFit(const TraySprite& sprite, int slotPixels)
{
    TrayFit best;
    int bestCover = 0;
    int bestSide = 0;
    for (qsizetype i = 0; i < sprite.drawings.size(); ++i) {
        const int side = longestSide(sprite.drawings[i]);
        if (side <= 0)
            continue;
        const int factor = slotPixels / side;
        const int cover = factor * side;
        if (factor >= 1 && (cover > bestCover || (cover == bestCover && side < bestSide))) {
            best = {i, factor};
            bestCover = cover;
            bestSide = side;
        }
    }
    if (best.drawing >= 0)
        return best;
    // Every drawing is larger than the slot: the smallest loses the fewest pixels.
    for (qsizetype i = 0; i < sprite.drawings.size(); ++i) {
        const int side = longestSide(sprite.drawings[i]);
        if (side > 0 && (best.drawing < 0 || side < bestSide)) {
            best = {i, 0};
            bestSide = side;
        }
    }
    return best;
}

QImage renderTrayImage(const TraySprite& sprite, int slotPixels)
{
    const int slot = std::clamp(slotPixels, 1, 1024);
    QImage out(slot, slot, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    const TrayFit fit = trayFit(sprite, slot);
    if (fit.drawing < 0)
        return out;
    const QImage& drawing = sprite.drawings[fit.drawing];
    QSize size = drawing.size() * std::max(fit.factor, 1);
    if (fit.factor == 0)
        size = drawing.size().scaled(slot, slot, Qt::KeepAspectRatio).expandedTo({1, 1});
    // Qt's fast transformation samples the nearest source pixel; whole factors copy blocks.
    const QImage scaled = drawing.convertToFormat(QImage::Format_ARGB32)
                              .scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    int y = (slot - size.height()) / 2;
    std::optional<TrayBarLayout> bar;
    if (sprite.bar) {
        bar = trayBarLayout(*sprite.bar, slot);
        const auto [inkTop, inkBottom] = inkRows(scaled);
        if (inkBottom > inkTop && y + inkBottom > bar->track.top())
            y = std::max(bar->track.top() - inkBottom, -inkTop);
    }
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage((slot - size.width()) / 2, y, scaled);
    if (bar) {
        const qreal alpha = sprite.bar->faded ? 0.4 : 1.0;
        QColor track = kTrackColour;
        track.setAlphaF(float(alpha));
        QColor fill = sprite.bar->overtime ? barOverColor() : barGreenColor();
        fill.setAlphaF(float(alpha));
        painter.fillRect(bar->track, track);
        painter.fillRect(QRect(bar->track.topLeft(), QSize(bar->filled, bar->track.height())),
                         fill);
    }
    return out;
}

TraySprite loadTraySprite(const QString& mascot, int frame)
{
    TraySprite sprite;
    for (int size : kDrawnSizes) {
        if (auto drawing = frameOf(mascot + u'_' + QString::number(size), frame))
            sprite.drawings.append(drawing->convertToFormat(QImage::Format_ARGB32));
    }
    if (sprite.isNull()) {
        if (auto picture = frameOf(mascot, frame))
            sprite.drawings.append(picture->convertToFormat(QImage::Format_ARGB32));
    }
    return sprite;
}
