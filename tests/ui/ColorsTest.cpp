// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Colors.h"
#include "render/Appearance.h"
#include "ui/settings/SettingsStyle.h"
#include "ui/toolkit/GlassView.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <QPalette>
#include <QWidget>

#include <cmath>
#include <functional>

namespace {

// QColor keeps 16 bits per component.
void expectColour(const QColor& c, double r, double g, double b, double a)
{
    EXPECT_NEAR(c.redF(), r, 1e-4);
    EXPECT_NEAR(c.greenF(), g, 1e-4);
    EXPECT_NEAR(c.blueF(), b, 1e-4);
    EXPECT_NEAR(c.alphaF(), a, 1e-4);
}

TEST(Appearance, PaletteDecidesUnlessOverriddenAndColoursFollow)
{
    QApplication::setPalette(QPalette(QColor(240, 240, 240)));
    EXPECT_FALSE(uiIsDark());
    QApplication::setPalette(QPalette(QColor(40, 40, 40)));
    EXPECT_TRUE(uiIsDark());
    uiDarkOverride = false;
    EXPECT_EQ(dyn(Qt::red, Qt::blue), QColor(Qt::red));

    const struct
    {
        std::function<QColor()> colour;
        double light, dark;
    } greys[] = {{inkColor, 0.89, 0.95},
                 {mutedInk, 0.57, 0.62},
                 {faintColor, 0.22, 0.341},
                 {bandFill, 0.06, 0.093},
                 // the dark factor never exceeds the ink's own ceiling
                 {[] { return ink(0.8); }, 0.8, 0.95}};
    for (const auto& grey : greys) {
        uiDarkOverride = false;
        expectColour(grey.colour(), 0, 0, 0, grey.light);
        uiDarkOverride = true;
        expectColour(grey.colour(), 1, 1, 1, grey.dark);
    }
    // the warm ramp through three stops, clamped
    const struct
    {
        double p;
        bool dark;
        double r, g, b;
    } cases[] = {{0.25, false, 0.775, 0.75, 0.25},       {0.5, false, 1.0, 0.72, 0.2},
                 {0.75, false, 1.0, 0.57, 0.25},         {2, false, 1.0, 0.42, 0.3},
                 {std::nan(""), false, 0.55, 0.78, 0.3}, {0.75, true, 0.96, 0.63, 0.395},
                 {1e300, true, 0.96, 0.51, 0.42}};
    for (const auto& c : cases) {
        uiDarkOverride = c.dark;
        SCOPED_TRACE(c.p);
        expectColour(warmColor(c.p), c.r, c.g, c.b, 1);
    }
    uiDarkOverride.reset();
}

// `top` with its alpha painted over an opaque `under`.
QColor over(const QColor& top, const QColor& under)
{
    const double a = top.alphaF();
    const auto mix = [a](double t, double u) { return float(t * a + u * (1 - a)); };
    return QColor::fromRgbF(mix(top.redF(), under.redF()), mix(top.greenF(), under.greenF()),
                            mix(top.blueF(), under.blueF()));
}

// WCAG 2 relative luminance of an opaque sRGB colour.
double luminance(const QColor& c)
{
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

// WCAG 2 contrast ratio of a text colour (with its alpha) on an opaque ground.
double contrast(const QColor& text, const QColor& ground)
{
    const double a = luminance(over(text, ground)), b = luminance(ground);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

TEST(Appearance, SmallTextReadsAtAaContrastOnEveryGroundItSitsOn)
{
    for (const bool dark : {false, true}) {
        uiDarkOverride = dark;
        // Without a compositor the glass is opaque; with one it lets the desktop through.
        const QColor seeThrough = GlassView::fillColor(dark);
        QColor glass = seeThrough;
        glass.setAlpha(255);
        QWidget settings;
        SettingsStyle::applyPalette(&settings);
        const struct
        {
            const char* name;
            QColor colour;
            bool money; // the money colours sit on it too
        } grounds[] = {
            {"glass", glass, true},
            {"glass over a white desktop", over(seeThrough, Qt::white), true},
            {"glass over a black desktop", over(seeThrough, Qt::black), true},
            {"slacking band", over(bandFill(), glass), true},
            {"hot slacking card", over(wolluCardFill(), glass), true},
            {"chip", over(chipFill(), glass), false},
            {"settings field", over(settings.palette().color(QPalette::Base), glass), false}};
        const struct
        {
            const char* name;
            QColor colour;
            bool money;
        } texts[] = {{"ink", inkColor(), false},
                     {"muted", mutedInk(), false},
                     {"hint", hintInk(), false},
                     {"money green", moneyGreenColor(), true},
                     {"slacking red", wolluRedColor(), true}};
        for (const auto& text : texts) {
            for (const auto& ground : grounds) {
                if (text.money && !ground.money)
                    continue;
                EXPECT_GE(contrast(text.colour, ground.colour), 4.5)
                    << text.name << " on " << ground.name << (dark ? " (dark)" : " (light)");
            }
        }
    }
    uiDarkOverride.reset();
}

} // namespace
