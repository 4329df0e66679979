#include "render/TrayImage.h"

#include "render/Art.h"

#include <QPainter>

#include <algorithm>

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

} // namespace

bool TraySprite::operator==(const TraySprite& other) const
{
    if (drawings.size() != other.drawings.size())
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
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage((slot - size.width()) / 2, (slot - size.height()) / 2, scaled);
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
