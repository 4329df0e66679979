#include "ui/settings/GlassWindow.h"

#include "platform/WindowHints.h"
#include "render/Appearance.h"

#include <QHideEvent>
#include <QPainterPath>
#include <QRegion>

GlassWindow::GlassWindow(QWidget* parent)
    : KeyableWindow(parent, Qt::Tool | Qt::WindowStaysOnTopHint), content_(new ReactiveVFX(this))
{
    setMovableByBackground(true);
    content_->setGeometry(rect());
}

void GlassWindow::setContentSize(const QSize& size)
{
    // Qt keeps the top-left corner when resizing, which is the top edge staying put.
    if (this->size() != size)
        resize(size);
    content_->setGeometry(0, 0, size.width(), size.height());
}

bool GlassWindow::isDark() const
{
    return systemIsDark();
}

void GlassWindow::showEvent(QShowEvent* event)
{
    KeyableWindow::showEvent(event);
    WindowHints::requestBlurBehind(this);
    updateShape();
}

void GlassWindow::resizeEvent(QResizeEvent* event)
{
    KeyableWindow::resizeEvent(event);
    content_->setGeometry(rect());
    updateShape();
}

void GlassWindow::hideEvent(QHideEvent* event)
{
    KeyableWindow::hideEvent(event);
    if (!event->spontaneous())
        Q_EMIT hidden();
}

void GlassWindow::updateShape()
{
    if (WindowHints::compositing()) {
        clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), content_->cornerRadius(), content_->cornerRadius());
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

AppearancePin::AppearancePin(bool dark) : previous_(uiDarkOverride)
{
    uiDarkOverride = dark;
}

AppearancePin::~AppearancePin()
{
    uiDarkOverride = previous_;
}
