// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/GlassWindow.h"

#include "platform/WindowHints.h"
#include "render/Appearance.h"
#include "ui/toolkit/RoundedShape.h"

#include <QHideEvent>

namespace {

std::optional<bool>& desktopPreference()
{
    static std::optional<bool> dark;
    return dark;
}

QList<GlassWindow*>& liveWindows()
{
    static QList<GlassWindow*> windows;
    return windows;
}

} // namespace

GlassWindow::GlassWindow(QWidget* parent, Qt::WindowFlags flags)
    : KeyableWindow(parent, flags), content_(new ReactiveVFX(this))
{
    setMovableByBackground(true);
    content_->setGeometry(rect());
    content_->setAppearance(desktopPreference());
    liveWindows().append(this);
}

GlassWindow::~GlassWindow()
{
    liveWindows().removeAll(this);
}

void GlassWindow::setAppearance(std::optional<bool> dark)
{
    if (appearance_ == dark)
        return;
    const bool before = isDark();
    appearance_ = dark;
    content_->setAppearance(appearance_ ? appearance_ : desktopPreference());
    if (isDark() != before)
        appearanceChanged();
}

void GlassWindow::followDesktop(std::optional<bool> dark)
{
    if (desktopPreference() == dark)
        return;
    QList<bool> before;
    for (const GlassWindow* window : std::as_const(liveWindows()))
        before.append(window->isDark());
    desktopPreference() = dark;
    const QList<GlassWindow*> windows = liveWindows();
    for (qsizetype i = 0; i < windows.size(); ++i) {
        GlassWindow* window = windows.at(i);
        if (window->appearance_)
            continue;
        window->content_->setAppearance(dark);
        if (window->isDark() != before.at(i))
            window->appearanceChanged();
    }
}

void GlassWindow::appearanceChanged()
{
    // The owner rebuilds its views in the new colours, as after a theme change.
    content_->update();
    content_->notifyAppearanceChange();
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
    if (appearance_)
        return *appearance_;
    if (const std::optional<bool> desktop = desktopPreference())
        return *desktop;
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
    cutToRoundedShape(this, content_->cornerRadius());
}
