// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/eod/EodWindow.h"

#include "platform/WindowHints.h"
#include "render/Appearance.h"
#include "render/Colors.h"
#include "render/MonaFont.h"
#include "render/TextImage.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/MascotView.h"
#include "ui/toolkit/PixelImageView.h"
#include "ui/toolkit/ReactiveVFX.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainterPath>
#include <QRegion>

#include <cmath>

namespace {

constexpr int kW = 256;
constexpr int kH = 232;

// The layout is measured from the bottom-left corner, Qt from the top-left.
QRect frameFromBottom(double x, double y, double w, double h)
{
    return QRectF(x, kH - y - h, w, h).toAlignedRect();
}

} // namespace

EodWindow::EodWindow()
    : KeyableWindow(nullptr, Qt::WindowStaysOnTopHint), content_(new ReactiveVFX(this))
{
    setWindowTitle(QStringLiteral("톡웍"));
    setFixedSize(kW, kH);
    setMovableByBackground(true);
    content_->setGeometry(0, 0, kW, kH);
    content_->onAppearanceChange = [this] { relayout(); };
    relayout();
}

void EodWindow::setAppearance(std::optional<bool> dark)
{
    appearance_ = dark;
    // The glass behind the texts must be the one they were drawn for.
    content_->setAppearance(dark);
    relayout();
}

void EodWindow::relayout()
{
    const AppearancePin pin(appearance_.value_or(systemIsDark()));

    for (QWidget* child : content_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        delete child;
    content_->update();

    const qreal ratio = devicePixelRatioF();
    auto* mascot = new MascotView(content_);
    mascot->setGeometry(frameFromBottom(82, 138, 92, 78));
    mascot->setArt(QStringLiteral("home"));

    const auto line = [&](const char16_t* text, const QFont& font, const QColor& colour, double y,
                          double h) {
        auto* view = new PixelImageView(content_, Qt::AlignHCenter);
        view->setGeometry(frameFromBottom(16, y, 224, h));
        view->setPixelRatio(ratio);
        view->setLine(QString::fromUtf16(text), font, colour);
        return view;
    };
    line(u"오늘 여기까지?", monaBold(12), inkColor(), 104, 20);
    line(u"목표 근무시간을 채웠어요", mona(10), mutedInk(), 83, 15);
    line(u"오늘은 어떻게 할까요?", mona(10), mutedInk(), 68, 15);

    bh_ = std::ceil(QFontMetricsF(mona(12)).size(0, QStringLiteral("퇴근")).height()) + 16;
    const auto button = [&](const char16_t* title, double x) {
        auto* chip = new ChipButton(QString::fromUtf16(title), content_);
        chip->setGeometry(frameFromBottom(x, 16, 106, bh_));
        chip->setFill(chipFill());
        chip->setCornerRadius(8);
        chip->setImage(renderMonaLine(chip->text(), mona(12), inkColor(), ratio));
        return chip;
    };
    ChipButton* stay = button(u"야근할게요", 16);
    ChipButton* leave = button(u"퇴근!", 134);
    connect(stay, &ChipButton::clicked, this, [this] {
        if (onOvertime)
            onOvertime();
    });
    connect(leave, &ChipButton::clicked, this, [this] {
        if (onLeave)
            onLeave();
    });
    for (QWidget* child : content_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->show();
}

void EodWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & ~(Qt::KeypadModifier)) {
        KeyableWindow::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (onLeave)
            onLeave();
        return;
    case Qt::Key_Escape:
        if (onOvertime)
            onOvertime();
        return;
    default:
        KeyableWindow::keyPressEvent(event);
    }
}

void EodWindow::closeEvent(QCloseEvent* event)
{
    // Closed by the window manager (or Alt+F4): the prompt still ends with an answer, the one that
    // keeps counting.
    if (onOvertime)
        onOvertime();
    event->accept();
}

void EodWindow::showEvent(QShowEvent* event)
{
    KeyableWindow::showEvent(event);
    WindowHints::showOnAllDesktops(this);
    updateShape();
}

void EodWindow::resizeEvent(QResizeEvent* event)
{
    KeyableWindow::resizeEvent(event);
    content_->setGeometry(rect());
    updateShape();
}

void EodWindow::updateShape()
{
    // Without a compositor the clear corners of a translucent window show black: cut them off.
    if (WindowHints::compositing()) {
        clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), uiCornerRadius, uiCornerRadius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}
