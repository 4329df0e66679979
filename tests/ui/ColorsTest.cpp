#include "ui/TestApp.h"

#include "Appearance.h"
#include "Colors.h"

#include <gtest/gtest.h>

#include <QPalette>

#include <cmath>
#include <functional>

namespace {

struct Rgba
{
    double r, g, b, a;
};

void expectColour(const QColor& c, Rgba want)
{
    // QColor keeps 16 bits per component.
    constexpr double eps = 1e-4;
    EXPECT_NEAR(c.redF(), want.r, eps);
    EXPECT_NEAR(c.greenF(), want.g, eps);
    EXPECT_NEAR(c.blueF(), want.b, eps);
    EXPECT_NEAR(c.alphaF(), want.a, eps);
}

class AppearanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testApp();
        QApplication::setPalette(lightPalette());
        uiDarkOverride.reset();
    }
    void TearDown() override { uiDarkOverride.reset(); }

    static QPalette lightPalette() { return QPalette(QColor(240, 240, 240)); }
    static QPalette darkPalette() { return QPalette(QColor(40, 40, 40)); }
};

TEST_F(AppearanceTest, OverrideDecidesUntilCleared)
{
    ASSERT_FALSE(uiIsDark());
    uiDarkOverride = true;
    expectColour(inkColor(), {1, 1, 1, 0.95});
    uiDarkOverride.reset();
    expectColour(inkColor(), {0, 0, 0, 0.89});

    QApplication::setPalette(darkPalette());
    EXPECT_TRUE(uiIsDark());
    uiDarkOverride = false;
    EXPECT_FALSE(uiIsDark());
    expectColour(dyn(Qt::red, Qt::blue), {1, 0, 0, 1});
}

struct GreyCase
{
    const char* name;
    std::function<QColor()> colour;
    double light, dark;
};

class GreyTest : public AppearanceTest, public ::testing::WithParamInterface<GreyCase>
{};

TEST_P(GreyTest, BlackInLightWhiteInDark)
{
    const GreyCase& c = GetParam();
    uiDarkOverride = false;
    expectColour(c.colour(), {0, 0, 0, c.light});
    uiDarkOverride = true;
    expectColour(c.colour(), {1, 1, 1, c.dark});
}

INSTANTIATE_TEST_SUITE_P(Palette, GreyTest,
                         ::testing::Values(GreyCase{"ink", inkColor, 0.89, 0.95},
                                           GreyCase{"muted", mutedInk, 0.4, 0.5},
                                           GreyCase{"hint", hintInk, 0.4, 0.5},
                                           GreyCase{"faint", faintColor, 0.22, 0.341},
                                           GreyCase{"chip", chipFill, 0.1, 0.155},
                                           GreyCase{"band", bandFill, 0.06, 0.093},
                                           // the dark factor never exceeds the ink's own ceiling
                                           GreyCase{"strong", [] { return ink(0.8); }, 0.8, 0.95}),
                         [](const auto& info) { return std::string(info.param.name); });

struct WarmCase
{
    double p;
    bool dark;
    Rgba want;
};

class WarmColorTest : public AppearanceTest, public ::testing::WithParamInterface<WarmCase>
{};

TEST_P(WarmColorTest, RampThroughThreeStops)
{
    uiDarkOverride = GetParam().dark;
    expectColour(warmColor(GetParam().p), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Ramp, WarmColorTest,
                         ::testing::Values(WarmCase{0.25, false, {0.775, 0.75, 0.25, 1}},
                                           WarmCase{0.75, false, {1.0, 0.57, 0.25, 1}},
                                           WarmCase{0.5, false, {1.0, 0.72, 0.2, 1}},
                                           WarmCase{-1, false, {0.55, 0.78, 0.3, 1}},
                                           WarmCase{0, false, {0.55, 0.78, 0.3, 1}},
                                           WarmCase{1, false, {1.0, 0.42, 0.3, 1}},
                                           WarmCase{2, false, {1.0, 0.42, 0.3, 1}},
                                           WarmCase{std::nan(""), false, {0.55, 0.78, 0.3, 1}},
                                           WarmCase{0, true, {0.65, 0.8, 0.47, 1}},
                                           WarmCase{0.75, true, {0.96, 0.63, 0.395, 1}},
                                           WarmCase{1e300, true, {0.96, 0.51, 0.42, 1}}));

} // namespace
