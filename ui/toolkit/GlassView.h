// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

#include <optional>

// A (2r + 2) x (2r + 2) point picture of a black rounded rectangle with corner radius r: the
// nine-slice mask (insets r) that gives glass views their rounded corners at any size.
QImage roundedMaskImage(double radius, qreal devicePixelRatio = 1.0);

// A translucent rounded surface that reads well over light and dark desktops. Compositors that
// offer blur behind a window (KWin) blur what lies beneath it.
class GlassView : public QWidget
{
    Q_OBJECT
public:
    explicit GlassView(QWidget* parent = nullptr);

    // The surface's colour in the light or dark appearance (nearly opaque).
    static QColor fillColor(bool dark);

    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius);

    // Light or dark regardless of the palette (the desktop portal's answer, previews); none
    // follows uiIsDark(). The views on the surface must be drawn for the same appearance.
    void setAppearance(std::optional<bool> dark);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double cornerRadius_;
    std::optional<bool> appearance_;
};
