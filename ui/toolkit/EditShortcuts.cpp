// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/EditShortcuts.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// X11 and Wayland report xkb key codes: the evdev code of the physical key plus 8.
std::optional<char> letterForXkbKeycode(quint32 keycode)
{
    switch (keycode) {
    case 38:
        return 'A';
    case 52:
        return 'Z';
    case 53:
        return 'X';
    case 54:
        return 'C';
    case 55:
        return 'V';
    default:
        return std::nullopt;
    }
}

std::optional<char> letterForLatin(int code)
{
    if (code >= 'a' && code <= 'z')
        code -= 'a' - 'A';
    switch (code) {
    case 'A':
    case 'Z':
    case 'X':
    case 'C':
    case 'V':
        return char(code);
    default:
        return std::nullopt;
    }
}

std::optional<EditAction> actionForLetter(char letter)
{
    switch (letter) {
    case 'A':
        return EditAction::SelectAll;
    case 'Z':
        return EditAction::Undo;
    case 'X':
        return EditAction::Cut;
    case 'C':
        return EditAction::Copy;
    case 'V':
        return EditAction::Paste;
    default:
        return std::nullopt;
    }
}

Qt::KeyboardModifiers relevantModifiers(const QKeyEvent& event)
{
    return event.modifiers() & ~Qt::KeypadModifier;
}

bool isTextWidget(QWidget* widget)
{
    return qobject_cast<QLineEdit*>(widget) || qobject_cast<QTextEdit*>(widget) ||
           qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QAbstractSpinBox*>(widget);
}

template <typename Edit> bool performOnTextEdit(Edit* edit, EditAction action)
{
    const bool modifies = action != EditAction::Copy && action != EditAction::SelectAll;
    if (modifies && edit->isReadOnly())
        return false;
    switch (action) {
    case EditAction::Undo:
        edit->undo();
        break;
    case EditAction::Redo:
        edit->redo();
        break;
    case EditAction::Cut:
        edit->cut();
        break;
    case EditAction::Copy:
        edit->copy();
        break;
    case EditAction::Paste:
        edit->paste();
        break;
    case EditAction::SelectAll:
        edit->selectAll();
        break;
    }
    return true;
}

class EditShortcutRouter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget != QApplication::focusWidget() || !isTextWidget(widget))
            return false;
        const auto action = editActionFor(*static_cast<QKeyEvent*>(event));
        if (!action)
            return false;
        // Claiming the override keeps application shortcuts from taking the key; the action
        // itself runs on the key press that follows.
        event->accept();
        if (type == QEvent::KeyPress)
            performEditAction(widget, *action);
        return true;
    }
};

QObject* installedRouter = nullptr;

} // namespace

std::optional<char> physicalLetter(const QKeyEvent& event)
{
    // macOS reports its own virtual key codes instead; its port maps them separately.
    if (event.nativeScanCode() != 0)
        return letterForXkbKeycode(event.nativeScanCode());
    if (const quint32 keysym = event.nativeVirtualKey(); keysym != 0 && keysym < 0x80)
        return letterForLatin(int(keysym));
    if (event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return letterForLatin(event.key());
    return std::nullopt;
}

std::optional<EditAction> fieldEditAction(const QKeyEvent& event)
{
    if (relevantModifiers(event) != Qt::ControlModifier)
        return std::nullopt;
    const auto letter = physicalLetter(event);
    return letter ? actionForLetter(*letter) : std::nullopt;
}

std::optional<EditAction> editActionFor(const QKeyEvent& event)
{
    if (relevantModifiers(event) == (Qt::ControlModifier | Qt::ShiftModifier))
        return physicalLetter(event) == 'Z' ? std::optional(EditAction::Redo) : std::nullopt;
    return fieldEditAction(event);
}

bool performEditAction(QWidget* widget, EditAction action)
{
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return performOnTextEdit(line, action);
    if (auto* text = qobject_cast<QTextEdit*>(widget))
        return performOnTextEdit(text, action);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return performOnTextEdit(plain, action);
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget)) {
        // The spin box edits through a private line edit it owns.
        auto* inner = spin->findChild<QLineEdit*>();
        return inner && performOnTextEdit(inner, action);
    }
    return false;
}

void installEditMenu()
{
    if (installedRouter || !QCoreApplication::instance())
        return;
    installedRouter = new EditShortcutRouter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(installedRouter);
}
