#pragma once

#include <QImage>
#include <QWidget>

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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double cornerRadius_;
};
