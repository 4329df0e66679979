// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QImage>

#include <optional>

// A borderless button that shows only a picture (a pixel-font line), centred and never scaled,
// optionally on a rounded fill. Its text stays for accessibility and tests; it is not drawn.
class ChipButton final : public QAbstractButton
{
    Q_OBJECT
public:
    explicit ChipButton(const QString& title = {}, QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    // The picture's size in points.
    QSizeF imageSize() const;

    // No fill leaves only the picture (a link-like button).
    void setFill(std::optional<QColor> fill);
    std::optional<QColor> fill() const { return fill_; }
    void setCornerRadius(double radius);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QImage image_;
    std::optional<QColor> fill_;
    double radius_ = 8;
    bool hovered_ = false;
};
