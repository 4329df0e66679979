// SPDX-License-Identifier: GPL-3.0-or-later
// Every phase of the panel and the end-of-day prompt, light and dark, at 1x and 2x, drawn as the
// desktop shows them and kept as pictures beside the build (scene-shots/) for a designer's look.
// The checks catch what a look catches first: ink that vanishes into the background.
#include "preview/DemoScene.h"
#include "render/Appearance.h"
#include "ui/eod/EodWindow.h"
#include "ui/panel/PanelVC.h"
#include "ui/toolkit/GlassView.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kShots = QStringLiteral(TOCKWORK_SCENE_SHOTS_DIR);

double lightness(QRgb pixel)
{
    return QColor::fromRgb(pixel).lightnessF();
}

// The share of pixels in `area` (points) whose lightness differs from the background's by more
// than 0.3: text that can be read.
double inkShare(const QImage& image, const QRectF& area, qreal ratio, double background)
{
    const QRect pixels = QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect();
    int inked = 0;
    int all = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x, ++all)
            inked += std::abs(lightness(image.pixel(x, y)) - background) > 0.3;
    return all ? double(inked) / all : 0;
}

// The panel on its glass over a mid-grey desktop, as the window shows it.
QImage panelShot(DemoScene scene, bool dark, qreal ratio)
{
    const std::unique_ptr<PanelVC> panel(demoPanelView(scene, dark, ratio));
    QImage image((QSizeF(panel->size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(128, 128, 128));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(GlassView::fillColor(dark));
    painter.drawRoundedRect(QRectF(panel->rect()), uiCornerRadius, uiCornerRadius);
    {
        // The labels take their colours from the panel's appearance, as in the window.
        const AppearancePin pin(dark);
        panel->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    }
    painter.end();
    return image;
}

struct Shot
{
    const char* name;
    DemoScene scene;
};

class PanelShots : public testing::TestWithParam<Shot>
{};

TEST_P(PanelShots, FiguresAndTextsStandOutFromTheGlass)
{
    QDir().mkpath(kShots);
    for (const bool dark : {false, true}) {
        for (const qreal ratio : {1.0, 2.0}) {
            SCOPED_TRACE(testing::Message() << (dark ? "dark " : "light ") << ratio << "x");
            const QImage image = panelShot(GetParam().scene, dark, ratio);
            image.save(kShots + QStringLiteral("/panel-%1-%2-%3x.png")
                                    .arg(QLatin1String(GetParam().name),
                                         dark ? QStringLiteral("dark") : QStringLiteral("light"))
                                    .arg(ratio));
            const double background = lightness(GlassView::fillColor(dark).rgb());
            const double h = image.height() / ratio;
            // The first row keeps its distance from the panel's top edge whatever rises below
            // it (the late buttons, the history strip): its figure and its title. The chips stay
            // at the bottom.
            const QRectF firstValue(150, 357 - 219 - 20, 90, 20);
            EXPECT_GT(inkShare(image, QRectF(16, firstValue.y(), 66, 20), ratio, background), 0.03)
                << "row title";
            EXPECT_GT(inkShare(image, firstValue, ratio, background), 0.03) << "first figure";
            EXPECT_GT(inkShare(image, QRectF(40, h - 16 - 24, 60, 16), ratio, background), 0.02)
                << "settings chip";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Phases, PanelShots,
    testing::Values(Shot{"working", DemoScene::working}, Shot{"lunch", DemoScene::lunch},
                    Shot{"overtime", DemoScene::overtime}, Shot{"dinner", DemoScene::dinner},
                    Shot{"done", DemoScene::done}),
    [](const testing::TestParamInfo<Shot>& tested) { return tested.param.name; });

TEST(PromptShots, TheQuestionAndItsAnswersStandOut)
{
    QDir().mkpath(kShots);
    for (const bool dark : {false, true}) {
        SCOPED_TRACE(dark ? "dark" : "light");
        EodWindow window;
        EXPECT_FALSE(window.windowFlags() & Qt::NoDropShadowWindowHint)
            << "the desktop's shadow under the prompt, as under menus";
        window.setAppearance(dark);
        const QImage image = window.grab().toImage();
        image.save(kShots + QStringLiteral("/prompt-%1.png")
                                .arg(dark ? QStringLiteral("dark") : QStringLiteral("light")));
        const qreal ratio = image.devicePixelRatio();
        const double background = lightness(image.pixel(QPoint(4, 120) * ratio));
        EXPECT_EQ(background > 0.5, !dark);
        EXPECT_GT(inkShare(image, QRectF(70, 232 - 104 - 20, 116, 20), ratio, background), 0.03)
            << "title";
        EXPECT_GT(inkShare(image, QRectF(150, 232 - 16 - window.buttonHeight() + 6, 74, 14), ratio,
                           background),
                  0.02)
            << "leave button";
    }
}

} // namespace
