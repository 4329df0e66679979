// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/GlassPanel.h"

#include "platform/WindowHints.h"
#include "ui/toolkit/RoundedShape.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMoveEvent>

GlassPanel::GlassPanel(QWidget* hosting, bool hidesOnDeactivate)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      glass_(new GlassView(this)), hosted_(hosting), hidesOnDeactivate_(hidesOnDeactivate)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // A fixed size also tells tiling compositors (sway on Wayland) to float the panel, not tile it.
    const QSize size = hosting ? hosting->size() : QSize();
    if (size.isValid())
        setFixedSize(size);
    glass_->setGeometry(0, 0, size.width(), size.height());
    if (hosting) {
        hosting->setParent(glass_);
        hosting->move(0, 0);
        hosting->installEventFilter(this);
        hosting->show();
    }
    if (hidesOnDeactivate) {
        connect(qApp, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state != Qt::ApplicationActive)
                        hide();
                });
    }
}

void GlassPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    corrections_ = 0;
    // The show event comes before the window is mapped; the window manager takes state changes
    // of a mapped window only, so the request is repeated once the map request has gone out.
    WindowHints::showOnAllDesktops(this);
    WindowHints::requestBlurBehind(this);
    updateShape();
    QMetaObject::invokeMethod(
        this,
        [this] {
            WindowHints::showOnAllDesktops(this);
            WindowHints::keepOffTaskbar(this);
        },
        Qt::QueuedConnection);
}

void GlassPanel::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // The application's own moves say where the panel belongs; the window system's report where
    // it is. sway centres a floating window whenever it maps or changes size: it is asked to put
    // the panel back, a few times, so a compositor that keeps it elsewhere is not asked forever.
    if (!event->spontaneous()) {
        wanted_ = event->pos();
        corrections_ = 0;
    } else if (wanted_ && event->pos() != *wanted_ && isVisible() && corrections_ < 5) {
        ++corrections_;
        WindowHints::askCompositorToPlace(this, *wanted_);
    }
}

bool GlassPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == hosted_ && event->type() == QEvent::Resize) {
        const QSize size = hosted_->size();
        glass_->resize(size);
        setFixedSize(size);
    }
    return QWidget::eventFilter(watched, event);
}

void GlassPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isVisible())
        updateShape();
}

void GlassPanel::updateShape()
{
    cutToRoundedShape(this, glass_->cornerRadius());
}

GlassPanel* makeGlassPanel(QWidget* hosting, bool hidesOnDeactivate)
{
    return new GlassPanel(hosting, hidesOnDeactivate);
}
