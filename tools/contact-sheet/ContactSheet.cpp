// SPDX-License-Identifier: GPL-3.0-or-later
// Draws every frame of every mascot, and the bar at several fillings, on a light and a dark
// panel at 1x, 2x and in the panel's 92 x 78 mascot area, into one PNG for review.

#include "render/Appearance.h"
#include "render/Art.h"
#include "render/Colors.h"
#include "render/PixelBar.h"
#include "render/Resources.h"

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
    const QColor panels[] = {QColor(0xf2, 0xf2, 0xf2), QColor(0x2b, 0x2b, 0x2e)};
    constexpr int Cell = 100, Zoom = 2; // the sheet is enlarged so 1x pixels can be judged

    QList<QList<QImage>> framesOf;
    qsizetype maxFrames = 1;
    for (const char* name : {"ant_work", "ant_lunch", "ant_over", "home"}) {
        const auto set = gifFrames(name);
        const auto still = loadArt(name);
        framesOf.append(set ? set->frames : still ? QList{*still} : QList<QImage>{});
        maxFrames = std::max(maxFrames, framesOf.last().size());
    }
    const int rows = int(framesOf.size()) * 2 + 1;
    QImage sheet(maxFrames * Cell * 3 * Zoom, rows * Cell * Zoom, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter out(&sheet);
    // A tile `cells` wide on `panel` at `dpr`, drawn by `draw`, placed at (column, row) of the
    // sheet.
    const auto tile = [&](int column, int row, int cells, qreal dpr, QColor panel, auto draw) {
        QImage image(Cell * cells * dpr, Cell * dpr, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(panel);
        QPainter p(&image);
        draw(p);
        p.end();
        out.drawImage(
            QRect(column * Cell * Zoom, row * Cell * Zoom, Cell * cells * Zoom, Cell * Zoom),
            image);
    };
    for (int n = 0; n < framesOf.size(); ++n)
        for (int bg = 0; bg < 2; ++bg)
            for (int f = 0; f < framesOf[n].size(); ++f)
                for (int variant = 0; variant < 3; ++variant) {
                    // the 1x and 2x tray images and the panel's mascot area
                    const QSizeF area = variant == 2 ? QSizeF(92, 78) : QSizeF(27, 22);
                    const QPointF corner((Cell - area.width()) / 2, (Cell - area.height()) / 2);
                    tile(f * 3 + variant, n * 2 + bg, 1, variant == 1 ? 2 : 1, panels[bg],
                         [&](QPainter& p) {
                             drawMascotFit(p, framesOf[n][f], QRectF(corner, area));
                         });
                }
    // The bar at 0, 0.25, 0.55, 1 (green), overtime (red) and the vector bar, light and dark.
    for (int bg = 0; bg < 2; ++bg) {
        uiDarkOverride = bg == 1;
        tile(bg * 6, rows - 1, 6, 2, panels[bg], [](QPainter& p) {
            const double fills[] = {0, 0.25, 0.55, 1.0};
            for (int i = 0; i < 4; ++i)
                drawPixelBar(p, QRectF(4 + (i % 2) * 140, 8 + (i / 2) * 40, 126, 32), fills[i], 1);
            drawPixelBar(p, QRectF(284, 8, 126, 32), 1, 1, barOverColor());
            drawBarProgrammatic(p, QRectF(284, 48, 126, 32), 0.5, 1);
        });
    }
    uiDarkOverride.reset();
    out.end();
    return sheet.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
