// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PanelPreview.h"

#include "preview/DemoScene.h"
#include "ui/panel/PanelLayout.h"
#include "ui/panel/PanelVC.h"

#include "preview/PreviewScale.h"

#include <QPainter>
#include <QSaveFile>

#include <cstdio>
#include <memory>

namespace {

QColor whiteLevel(double level)
{
    return QColor::fromRgbF(float(level), float(level), float(level));
}

} // namespace

QImage renderPanelPreview(qreal scale)
{
    // Both days are on time and have slacking money: the full panel with its history strip.
    const double slotHeight = panelLayout(false, false, 0, true).height;
    QImage canvas(qRound(660 * scale), qRound((slotHeight + 56) * scale),
                  QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(scale);
    canvas.fill(whiteLevel(0.92));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);

    const std::pair<DemoScene, double> cards[] = {{DemoScene::working, 20}, {DemoScene::done, 336}};
    for (const auto& [scene, x] : cards) {
        painter.setPen(QPen(whiteLevel(0.84), 1));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(x + 0.5, 20.5, 303, slotHeight + 15), 14, 14);
        // The panel keeps its own 256-point width, centred in the card's 288-point slot:
        // stretching it would smear the pixel font.
        const std::unique_ptr<PanelVC> panel(demoPanelView(scene, false, scale));
        const QRectF slot(x + 8, 28, 288, slotHeight);
        const QPoint at(qRound(slot.x() + (slot.width() - panel->width()) / 2),
                        qRound(slot.y() + (slot.height() - panel->height()) / 2));
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        panel->render(&painter, at, QRegion(), QWidget::DrawChildren);
        painter.restore();
    }
    return canvas;
}

bool runPanelPreview(const QString& path)
{
    const QImage image = renderPanelPreview(previewScale());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return false;
    std::puts("panel preview done");
    std::fflush(stdout);
    return true;
}
