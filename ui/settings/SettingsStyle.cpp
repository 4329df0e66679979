// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsStyle.h"

#include "render/Appearance.h"
#include "render/Colors.h"
#include "render/MonaFont.h"
#include "render/TextImage.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/GlassView.h"
#include "ui/toolkit/PixelImageView.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include <cmath>

namespace {

QColor fieldBase(bool dark)
{
    return dark ? QColor(255, 255, 255, 26) : QColor(255, 255, 255, 235);
}

// `top` painted over an opaque `under`.
QColor over(const QColor& top, const QColor& under)
{
    const double a = top.alphaF();
    const auto mix = [a](double t, double u) { return t * a + u * (1 - a); };
    return QColor::fromRgbF(float(mix(top.redF(), under.redF())),
                            float(mix(top.greenF(), under.greenF())),
                            float(mix(top.blueF(), under.blueF())));
}

QColor glass()
{
    QColor fill = GlassView::fillColor(uiIsDark());
    fill.setAlpha(255);
    return fill;
}

QPalette palette()
{
    const bool dark = uiIsDark();
    QPalette p;
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText})
        p.setColor(role, SettingsStyle::onGlass(inkColor()));
    p.setColor(QPalette::Text, SettingsStyle::onField(inkColor()));
    p.setColor(QPalette::PlaceholderText, SettingsStyle::onField(mutedInk()));
    p.setColor(QPalette::Base, fieldBase(dark));
    p.setColor(QPalette::AlternateBase, dark ? QColor(255, 255, 255, 16) : QColor(0, 0, 0, 10));
    p.setColor(QPalette::Window, dark ? QColor(44, 44, 48) : QColor(246, 246, 247));
    p.setColor(QPalette::Button, dark ? QColor(66, 66, 71) : QColor(236, 236, 238));
    p.setColor(QPalette::Light, dark ? QColor(90, 90, 96) : QColor(255, 255, 255));
    p.setColor(QPalette::Midlight, dark ? QColor(74, 74, 80) : QColor(228, 228, 230));
    p.setColor(QPalette::Mid, dark ? QColor(60, 60, 64) : QColor(200, 200, 204));
    p.setColor(QPalette::Dark, dark ? QColor(30, 30, 33) : QColor(160, 160, 165));
    p.setColor(QPalette::Shadow, dark ? QColor(0, 0, 0) : QColor(120, 120, 125));
    p.setColor(QPalette::Highlight, dark ? QColor(66, 120, 190) : QColor(48, 140, 230));
    p.setColor(QPalette::HighlightedText, Qt::white);
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, SettingsStyle::onGlass(mutedInk()));
    p.setColor(QPalette::Disabled, QPalette::Text, SettingsStyle::onField(mutedInk()));
    return p;
}

// The label standing in for a focused centred field's placeholder.
class PlaceholderOverlay final : public QLabel
{
public:
    explicit PlaceholderOverlay(QLineEdit* field) : QLabel(field), field_(field)
    {
        setObjectName(QStringLiteral("placeholderOverlay"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAlignment(Qt::AlignCenter);
        field->installEventFilter(this);
        QObject::connect(field, &QLineEdit::textChanged, this, [this] { follow(); });
        follow();
    }

    void restyle()
    {
        setText(field_->placeholderText());
        setFont(field_->font());
        // Inside a field a label inherits the field's Base background and so draws in Text, the
        // ink of typed text: a hint in that ink reads as something already typed.
        setForegroundRole(QPalette::WindowText);
        QPalette p = palette();
        p.setColor(QPalette::WindowText, SettingsStyle::onField(mutedInk()));
        setPalette(p);
        follow();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::Resize:
            follow();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void follow()
    {
        setGeometry(field_->rect());
        // Unfocused, the field draws its placeholder itself.
        setVisible(field_->hasFocus() && field_->text().isEmpty());
    }

    QLineEdit* field_;
};

} // namespace

namespace SettingsStyle {

QColor onGlass(const QColor& colour)
{
    return over(colour, glass());
}

QString colourCss(const QColor& c)
{
    return QStringLiteral("rgba(%1,%2,%3,%4)")
        .arg(c.red())
        .arg(c.green())
        .arg(c.blue())
        .arg(QString::number(c.alphaF(), 'f', 3));
}

QColor onField(const QColor& colour)
{
    return over(colour, over(fieldBase(uiIsDark()), glass()));
}

void keepPlaceholderVisible(QLineEdit* field)
{
    auto* overlay = field->findChild<PlaceholderOverlay*>(QStringLiteral("placeholderOverlay"),
                                                          Qt::FindDirectChildrenOnly);
    if (!overlay)
        overlay = new PlaceholderOverlay(field);
    overlay->restyle();
}

QLabel* label(QWidget* parent, const QString& text, const QFont& font, const QColor& colour,
              Qt::Alignment alignment)
{
    auto* l = new QLabel(text, parent);
    l->setFont(font);
    l->setAlignment(alignment);
    l->setTextFormat(Qt::PlainText);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, onGlass(colour));
    l->setPalette(p);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}

PixelImageView* textPicture(QWidget* parent, const QString& text, const QFont& font,
                            const QColor& colour, Qt::Alignment horizontal)
{
    auto* view = new PixelImageView(parent, horizontal);
    view->setLine(text, font, colour);
    view->setAttribute(Qt::WA_TransparentForMouseEvents);
    view->setAccessibleName(text);
    return view;
}

ChipButton* chipButton(QWidget* parent, const QString& title)
{
    auto* button = new ChipButton(title, parent);
    button->setAccessibleName(title);
    button->setCornerRadius(8);
    restyleChip(button);
    return button;
}

QPushButton* removeButton(QWidget* parent, const QString& accessibleName, int pointSize,
                          int diameter)
{
    auto* button = new QPushButton(QStringLiteral("✕"), parent);
    button->setAccessibleName(accessibleName);
    button->setCursor(Qt::PointingHandCursor);
    button->setFont(mona(pointSize));
    button->setStyleSheet(
        QStringLiteral("QPushButton { border: none; border-radius: %4px; background: %1;"
                       " color: %2; padding: 0; }"
                       "QPushButton:hover { background: %3; }"
                       "QPushButton:focus { border: 1px solid %2; }")
            .arg(colourCss(chipFill()), colourCss(onGlass(mutedInk())), colourCss(faintColor()))
            .arg(diameter / 2));
    button->resize(diameter, diameter);
    return button;
}

void restyleChip(ChipButton* button)
{
    button->setImage(
        renderMonaLine(button->text(), mona(12), inkColor(), button->devicePixelRatioF()));
    button->setFill(chipFill());
}

int chipButtonHeight()
{
    return int(std::ceil(QFontMetricsF(mona(12)).height())) + 16;
}

void applyPalette(QWidget* widget)
{
    widget->setPalette(palette());
}

QString scrollAreaStyle(const QString& rowsName)
{
    return QStringLiteral("QScrollArea, QWidget#qt_scrollarea_viewport, QWidget#%1"
                          " { background: transparent; }"
                          "QScrollBar:vertical { width: 6px; background: transparent; margin: 0; }"
                          "QScrollBar::handle:vertical { background: %2; border-radius: 3px;"
                          " min-height: 24px; }"
                          "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
                          "QScrollBar::add-page, QScrollBar::sub-page { background: none; }")
        .arg(rowsName, colourCss(faintColor()));
}

} // namespace SettingsStyle
