// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Art.h"

#include "render/Resources.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <cmath>

namespace {

// A mascot never needs more; a corrupt or hostile GIF must not eat the memory of a tray app.
constexpr qint64 MaxFrameSetBytes = 64ll * 1024 * 1024;

bool safeArtName(const QString& name)
{
    return !name.isEmpty() && !name.startsWith(u'.') && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

std::optional<QString> firstExisting(const QString& folder, const QString& name)
{
    for (const char* ext : {"gif", "png"}) {
        const QString path = folder + u'/' + name + u'.' + QLatin1String(ext);
        if (QFileInfo(path).isFile())
            return path;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> artPath(const QString& name)
{
    if (!safeArtName(name))
        return std::nullopt;
    const QString bundle = Resources::bundleDir();
    if (!bundle.isEmpty()) {
        if (auto path = firstExisting(bundle + QStringLiteral("/art"), name))
            return path;
    }
    return firstExisting(QDir::homePath() + QStringLiteral("/TockWork/art"), name);
}

std::optional<QImage> loadArt(const QString& name)
{
    const auto path = artPath(name);
    if (!path)
        return std::nullopt;
    QImageReader reader(*path);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return std::nullopt;
    return image;
}

std::optional<FrameSet> gifFrames(const QString& name)
{
    const auto path = artPath(name);
    if (!path || !path->endsWith(QStringLiteral(".gif")))
        return std::nullopt;
    QImageReader reader(*path, "gif");
    const int count = reader.imageCount();
    if (count <= 1)
        return std::nullopt;

    FrameSet set;
    qint64 bytes = 0;
    for (int i = 0; i < count; ++i) {
        QImage frame;
        // The decoder is sequential: once a frame fails, the ones after it cannot be reached.
        if (!reader.read(&frame) || frame.isNull())
            break;
        frame = frame.convertToFormat(QImage::Format_ARGB32);
        bytes += frame.sizeInBytes();
        if (bytes > MaxFrameSetBytes)
            return std::nullopt;
        const int delayMs = reader.nextImageDelay();
        set.frames.append(frame);
        set.durations.append(delayMs > 0 ? delayMs / 1000.0 : 0.1);
    }
    if (set.frames.isEmpty())
        return std::nullopt;
    return set;
}

void drawMascotFit(QPainter& painter, const std::optional<QImage>& image, const QRectF& rect,
                   double alpha)
{
    if (!image || image->isNull())
        return;
    const QSizeF size = image->deviceIndependentSize();
    if (size.width() <= 0 || size.height() <= 0 || rect.width() <= 0 || rect.height() <= 0)
        return;
    const double scale = std::min(rect.width() / size.width(), rect.height() / size.height());
    const QSizeF drawn = size * scale;
    const QRectF target(rect.x() + (rect.width() - drawn.width()) * 0.5,
                        rect.y() + (rect.height() - drawn.height()) * 0.5, drawn.width(),
                        drawn.height());

    painter.save();
    painter.setOpacity(painter.opacity() * alpha);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QTransform device = painter.deviceTransform();
    if (device.type() <= QTransform::TxScale && painter.device()) {
        // The picture is scaled to whole device pixels here and copied without transformation,
        // so neither the painter's scale nor a fractional position can blend its edges.
        const QRectF pixels = device.mapRect(target);
        const QRect whole(QPoint(qRound(pixels.left()), qRound(pixels.top())),
                          QPoint(qRound(pixels.right()) - 1, qRound(pixels.bottom()) - 1));
        if (whole.width() > 0 && whole.height() > 0) {
            QImage sampled =
                image->scaled(whole.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
            sampled.setDevicePixelRatio(1);
            const qreal dpr = painter.device()->devicePixelRatio();
            painter.setWorldTransform(QTransform::fromScale(1 / dpr, 1 / dpr));
            painter.drawImage(whole.topLeft(), sampled);
        }
    } else {
        painter.drawImage(target, *image);
    }
    painter.restore();
}
