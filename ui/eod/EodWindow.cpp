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

// A window of its own (in the taskbar, on every desktop), not a tool window of the application.
EodWindow::EodWindow() : GlassWindow(nullptr, Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("톡웍"));
    setFixedSize(kW, kH);
    setContentSize(QSize(kW, kH));
    content()->onAppearanceChange = [this] { relayout(); };
    relayout();
}

void EodWindow::setAppearance(std::optional<bool> dark)
{
    GlassWindow::setAppearance(dark);
    relayout();
}

void EodWindow::relayout()
{
    const AppearancePin pin(isDark());
    ReactiveVFX* surface = content();

    for (QWidget* child : surface->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        delete child;
    surface->update();

    const qreal ratio = devicePixelRatioF();
    auto* mascot = new MascotView(surface);
    mascot->setGeometry(frameFromBottom(82, 138, 92, 78));
    mascot->setArt(QStringLiteral("home"));

    const auto line = [&](const char16_t* text, const QFont& font, const QColor& colour, double y,
                          double h) {
        auto* view = new PixelImageView(surface, Qt::AlignHCenter);
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
        auto* chip = new ChipButton(QString::fromUtf16(title), surface);
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
    for (QWidget* child : surface->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->show();
}

void EodWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & ~(Qt::KeypadModifier)) {
        GlassWindow::keyPressEvent(event);
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
        GlassWindow::keyPressEvent(event);
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
    GlassWindow::showEvent(event);
    WindowHints::showOnAllDesktops(this);
}
