// Draws every frame of every mascot, and the bar at several fillings, on a light and a dark
// panel at 1x, 2x and in the panel's 92 x 78 mascot area, into one PNG for review.

#include "Appearance.h"
#include "Art.h"
#include "Colors.h"
#include "PixelBar.h"
#include "Resources.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <out.png>\n", argv[0]);
        return 2;
    }
    Resources::setBundleDir(QStringLiteral(TOCKWORK_BUILT_SHARE_DIR));

    const QStringList names = {"ant_work", "ant_lunch", "ant_over", "home"};
    const QList<QColor> panels = {QColor(0xf2, 0xf2, 0xf2), QColor(0x2b, 0x2b, 0x2e)};
    constexpr int Cell = 100;
    constexpr int Zoom = 2; // the sheet itself is enlarged so 1x pixels can be judged

    QList<QList<QImage>> framesOf;
    int maxFrames = 1;
    for (const QString& name : names) {
        QList<QImage> frames;
        if (auto set = gifFrames(name))
            frames = set->frames;
        else if (auto still = loadArt(name))
            frames = {*still};
        maxFrames = std::max(maxFrames, static_cast<int>(frames.size()));
        framesOf.append(frames);
    }

    const int rows = static_cast<int>(names.size()) * 2 + 1;
    QImage sheet(maxFrames * Cell * 3 * Zoom, rows * Cell * Zoom, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter out(&sheet);
    for (int n = 0; n < names.size(); ++n) {
        for (int bg = 0; bg < 2; ++bg) {
            const int row = n * 2 + bg;
            for (int f = 0; f < framesOf[n].size(); ++f) {
                const std::optional<QImage> frame = framesOf[n][f];
                for (int variant = 0; variant < 3; ++variant) {
                    // 1x and 2x tray images and the panel's mascot area, each drawn on its panel
                    const double dpr = variant == 1 ? 2 : 1;
                    const QSizeF area = variant == 2 ? QSizeF(92, 78) : QSizeF(27, 22);
                    QImage tile(Cell * dpr, Cell * dpr, QImage::Format_ARGB32_Premultiplied);
                    tile.setDevicePixelRatio(dpr);
                    tile.fill(panels[bg]);
                    QPainter p(&tile);
                    drawMascotFit(
                        p, frame,
                        QRectF(QPointF((Cell - area.width()) / 2, (Cell - area.height()) / 2),
                               area));
                    p.end();
                    out.drawImage(QRect(((f * 3) + variant) * Cell * Zoom, row * Cell * Zoom,
                                        Cell * Zoom, Cell * Zoom),
                                  tile);
                }
            }
        }
    }
    // The bar at 0, 0.25, 0.55, 1 (green) and overtime (red), light and dark panel.
    const int barRow = rows - 1;
    for (int bg = 0; bg < 2; ++bg) {
        uiDarkOverride = bg == 1;
        QImage tile(Cell * 6 * 2, Cell * 2, QImage::Format_ARGB32_Premultiplied);
        tile.setDevicePixelRatio(2);
        tile.fill(panels[bg]);
        QPainter p(&tile);
        const double fills[] = {0, 0.25, 0.55, 1.0};
        for (int i = 0; i < 4; ++i)
            drawPixelBar(p, QRectF(4 + (i % 2) * 140, 8 + (i / 2) * 40, 126, 32), fills[i], 1.0);
        drawPixelBar(p, QRectF(4 + 140 * 2, 8, 126, 32), 1.0, 1.0, barOverColor());
        drawBarProgrammatic(p, QRectF(4 + 140 * 2, 48, 126, 32), 0.5, 1.0);
        p.end();
        out.drawImage(
            QRect(bg * Cell * 6 * Zoom, barRow * Cell * Zoom, Cell * 6 * Zoom, Cell * Zoom), tile);
    }
    uiDarkOverride.reset();
    out.end();
    return sheet.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
