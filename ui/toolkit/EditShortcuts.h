// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QKeyEvent;
class QWidget;

// Cut, copy, paste, select all, undo and redo work in every text field of the application by
// their physical keys, whatever the keyboard layout or input method: with a Korean layout the
// key under C produces "ㅊ", yet Ctrl with that key must still copy. A tray application has no
// menu bar to carry these shortcuts, so they are routed application-wide instead.

enum class EditAction
{
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    SelectAll
};

// The Latin letter of the key's physical position (A, C, V, X, Z), or none. The hardware key code
// decides when the platform reports one; otherwise the layout's Latin key symbol, then the key.
std::optional<char> physicalLetter(const QKeyEvent& event);

// Ctrl+A/Z/X/C/V by physical key, nothing else (the text fields' own shortcuts).
std::optional<EditAction> fieldEditAction(const QKeyEvent& event);
// fieldEditAction plus Ctrl+Shift+Z for redo (the application-wide shortcuts).
std::optional<EditAction> editActionFor(const QKeyEvent& event);

// Runs `action` on a QLineEdit, QTextEdit, QPlainTextEdit or spin box. Read-only fields only copy
// and select. False when `widget` is none of these or the action cannot apply.
bool performEditAction(QWidget* widget, EditAction action);

// Installs the application-wide routing once; later calls do nothing.
void installEditMenu();
