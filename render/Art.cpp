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

bool nearInteger(double value)
{
    return std::abs(value - std::round(value)) < 1e-3;
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
                   bool smooth, double alpha)
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
    // How many device pixels one picture pixel covers.
    const QTransform device = painter.deviceTransform();
    const double deviceScale =
        scale * std::sqrt(std::abs(device.m11() * device.m22() - device.m12() * device.m21())) /
        image->devicePixelRatio();

    if (!smooth || nearInteger(deviceScale)) {
        // Whole-number enlargements of pixel art are exact with nearest-neighbour.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, *image);
    } else if (deviceScale > 1) {
        // "High quality" for pixel art: enlarge by the next whole factor with nearest-neighbour,
        // then let bilinear filtering bring it to the exact size. Pixels stay square and sharp,
        // only their edges blend over at most one device pixel instead of wobbling in width.
        const int factor = static_cast<int>(std::ceil(deviceScale));
        const QImage big =
            image->scaled(image->size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(target, big);
    } else {
        // Shrinking: average whole areas so thin outlines do not vanish between samples.
        const QSize pixels(std::max(1, qRound(image->width() * deviceScale)),
                           std::max(1, qRound(image->height() * deviceScale)));
        const QImage small = image->scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(target, small);
    }
    painter.restore();
}
