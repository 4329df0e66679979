// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

#include <optional>

// Light or dark, decided afresh every time a colour is asked for.

// While set, decides light or dark for every colour. A window sets it to its own appearance while
// it builds or refreshes its views and clears it afterwards. Main thread only.
inline std::optional<bool> uiDarkOverride;

// Sets uiDarkOverride to `dark` for the life of the object and puts back what was there, so a
// window that builds its views inside another's refresh leaves the outer appearance as it found it.
class AppearancePin final
{
public:
    explicit AppearancePin(bool dark) : previous_(uiDarkOverride) { uiDarkOverride = dark; }
    ~AppearancePin() { uiDarkOverride = previous_; }
    AppearancePin(const AppearancePin&) = delete;
    AppearancePin& operator=(const AppearancePin&) = delete;

private:
    std::optional<bool> previous_;
};

// Corner radius of the glass windows, in points.
inline constexpr double uiCornerRadius = 8.0;

bool uiIsDark();
// `dark` when the interface is dark, else `light`.
QColor dyn(const QColor& light, const QColor& dark);

// The system's own answer (Qt's colour scheme where known, else the palette's window lightness),
// ignoring the override.
bool systemIsDark();
