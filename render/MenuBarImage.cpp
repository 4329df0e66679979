#include "render/MenuBarImage.h"

#include "render/Art.h"

#include <QPainter>

#include <cmath>

QImage renderMenuBar(const Display& display, qreal devicePixelRatio)
{
    constexpr double Width = 27;
    constexpr double Height = 22;
    const qreal dpr = std::isfinite(devicePixelRatio) && devicePixelRatio > 0
                          ? std::min<qreal>(devicePixelRatio, 8)
                          : 1.0;
    QImage image(static_cast<int>(std::ceil(Width * dpr)),
                 static_cast<int>(std::ceil(Height * dpr)), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    const QRectF area(0, 0, Width, Height);
    if (menubarAntFrame && menubarFrameMascot == display.mascot)
        drawMascotFit(painter, menubarAntFrame, area);
    else
        drawMascotFit(painter, loadArt(display.mascot), area);
    painter.end();
    return image;
}
