#include "render/Colors.h"
#include "render/Appearance.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <QPalette>

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
                 {mutedInk, 0.4, 0.5},
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

} // namespace
