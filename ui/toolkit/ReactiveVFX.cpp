// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/ReactiveVFX.h"

#include <QEvent>
#include <QPointer>

ReactiveVFX::ReactiveVFX(QWidget* parent) : GlassView(parent)
{}

void ReactiveVFX::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        scheduleNotification();
    GlassView::changeEvent(event);
}

bool ReactiveVFX::event(QEvent* event)
{
    if (event->type() == QEvent::ThemeChange || event->type() == QEvent::ApplicationPaletteChange)
        scheduleNotification();
    return GlassView::event(event);
}

void ReactiveVFX::scheduleNotification()
{
    // One theme switch arrives as several events, delivered while the palette is still being
    // propagated to the children. The owner typically rebuilds (deletes) those children, so it is
    // told once, after the propagation has finished.
    if (pending_)
        return;
    pending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            pending_ = false;
            update();
            if (onAppearanceChange)
                onAppearanceChange();
        },
        Qt::QueuedConnection);
}
