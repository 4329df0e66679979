// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/EditableTextField.h"

#include "ui/toolkit/EditShortcuts.h"

#include <QKeyEvent>

EditableTextField::EditableTextField(QWidget* parent) : QLineEdit(parent)
{}

bool EditableTextField::event(QEvent* event)
{
    // With a non-Latin layout the shortcut map would not recognise the key, but an application
    // shortcut could still claim it; the field keeps its own editing keys.
    if (event->type() == QEvent::ShortcutOverride &&
        fieldEditAction(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void EditableTextField::keyPressEvent(QKeyEvent* event)
{
    if (const auto action = fieldEditAction(*event)) {
        performEditAction(this, *action);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
