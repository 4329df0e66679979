// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

// A picture shown at its own size, never scaled: lines of pixel-font text keep every pixel on the
// device grid. It sits vertically centred, at the left, centre or right of the view.
class PixelImageView final : public QWidget
{
    Q_OBJECT
public:
    explicit PixelImageView(QWidget* parent = nullptr, Qt::Alignment horizontal = Qt::AlignLeft);

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    void clear();

    // The line drawn in the pixel font (renderMonaLine). Drawing is skipped when text, font,
    // colour and pixel ratio are those of the picture already shown.
    void setLine(const QString& text, const QFont& font, const QColor& colour);

    // Pixels per point of the pictures it draws; 0 follows the screen the view is on.
    void setPixelRatio(qreal ratio) { ratio_ = ratio; }
    qreal effectivePixelRatio() const;

    // The picture's size in points (0 x 0 without one).
    QSizeF imageSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    QString lineKey_;
    Qt::Alignment horizontal_;
    qreal ratio_ = 0;
};
