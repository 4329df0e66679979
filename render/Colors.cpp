// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Colors.h"

#include "render/Appearance.h"

#include <algorithm>

namespace {

QColor rgb(double r, double g, double b, double a = 1.0)
{
    return QColor::fromRgbF(float(r), float(g), float(b), float(a));
}

struct Rgb
{
    double r, g, b;
};

Rgb mix(const Rgb& a, const Rgb& b, double t)
{
    return {a.r + t * (b.r - a.r), a.g + t * (b.g - a.g), a.b + t * (b.b - a.b)};
}

} // namespace

QColor ink(double alpha, std::optional<double> darkAlpha)
{
    if (uiIsDark())
        return rgb(1, 1, 1, darkAlpha.value_or(std::min(alpha * 1.55, 0.95)));
    return rgb(0, 0, 0, alpha);
}

QColor inkColor()
{
    return ink(0.89, 0.95);
}

// Muted and hint texts are small (10 to 12 pixels): their alphas are the lightest grey that still
// reads at 4.5:1 (WCAG AA) on every ground it sits on, the slacking card and the chips included.
QColor mutedInk()
{
    return ink(0.57, 0.62);
}

QColor hintInk()
{
    return ink(0.57, 0.62);
}

QColor faintColor()
{
    return ink(0.22);
}

QColor chipFill()
{
    return ink(0.1);
}

QColor bandFill()
{
    return ink(0.06);
}

// The money colours keep their hue; light mode darkens and dark mode lightens them as far as
// 4.5:1 on the glass, the slacking band and the pink card needs.
QColor wolluRedColor()
{
    return dyn(rgb(0.73, 0.17, 0.17), rgb(0.96, 0.56, 0.56));
}

QColor moneyGreenColor()
{
    return dyn(rgb(0.137, 0.44, 0.283), rgb(0.37, 0.77, 0.56));
}

QColor wolluCardFill()
{
    return dyn(rgb(1.0, 0.302, 0.302, 0.16), rgb(1.0, 0.45, 0.45, 0.22));
}

QColor barGreenColor()
{
    static const QColor colour = rgb(0.122, 0.584, 0.29);
    return colour;
}

QColor barOverColor()
{
    static const QColor colour = rgb(1.0, 0.231, 0.188);
    return colour;
}

QColor warmColor(double p)
{
    const bool dark = uiIsDark();
    const Rgb stops[3] = {
        dark ? Rgb{0.65, 0.8, 0.47} : Rgb{0.55, 0.78, 0.3},
        dark ? Rgb{0.96, 0.75, 0.37} : Rgb{1.0, 0.72, 0.2},
        dark ? Rgb{0.96, 0.51, 0.42} : Rgb{1.0, 0.42, 0.3},
    };
    Rgb c;
    if (!(p > 0)) // also catches NaN, which would otherwise poison every component
        c = stops[0];
    else if (p >= 1)
        c = stops[2];
    else if (p <= 0.5)
        c = mix(stops[0], stops[1], p / 0.5);
    else
        c = mix(stops[1], stops[2], (p - 0.5) / 0.5);
    return rgb(c.r, c.g, c.b);
}
