// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/EditShortcuts.h"
#include "ui/toolkit/EditableTextField.h"
#include "ui/toolkit/KeyableWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// xkb key codes of the physical keys, and the key symbols a Korean (dubeolsik) layout gives them.
constexpr quint32 kA = 38, kZ = 52, kX = 53, kC = 54, kV = 55, kQ = 24;
constexpr quint32 symA = 0xeb7, symZ = 0xebb, symX = 0xebc, symC = 0xeba, symV = 0xebd;
constexpr auto Ctrl = Qt::KeyboardModifiers(Qt::ControlModifier);

QKeyEvent koreanKey(quint32 scanCode, quint32 keysym, Qt::KeyboardModifiers mods = Ctrl,
                    QEvent::Type type = QEvent::KeyPress)
{
    return QKeyEvent(type, Qt::Key_unknown, mods, scanCode, keysym, 0, QStringLiteral("ㅊ"));
}

TEST(EditKeys, PhysicalKeyAndExactModifiersDecide)
{
    using A = EditAction;
    const std::optional<A> None;
    const struct
    {
        quint32 scanCode, keysym;
        int key;
        Qt::KeyboardModifiers mods;
        std::optional<A> field, app;
    } cases[] = {
        {kC, symC, Qt::Key_unknown, Ctrl, A::Copy, A::Copy},
        {kV, symV, Qt::Key_unknown, Ctrl, A::Paste, A::Paste},
        {kZ, symZ, Qt::Key_unknown, Ctrl, A::Undo, A::Undo},
        {kZ, symZ, Qt::Key_unknown, Ctrl | Qt::ShiftModifier, None, A::Redo}, // application-wide
        {kC, 'C', Qt::Key_C, Ctrl | Qt::ShiftModifier, None, None},
        // the hardware position wins over the layout: Dvorak's "j" sits on the C key
        {kC, 'j', Qt::Key_J, Ctrl, A::Copy, A::Copy},
        {kQ, 'v', Qt::Key_V, Ctrl, None, None},
        // without a hardware code (synthetic or remote input) the Latin symbol or key decides
        {0, 'v', Qt::Key_unknown, Ctrl, A::Paste, A::Paste},
        {0, 0, Qt::Key_A, Ctrl | Qt::KeypadModifier, A::SelectAll, A::SelectAll},
    };
    for (const auto& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.mods, c.scanCode, c.keysym, 0);
        EXPECT_EQ(fieldEditAction(event), c.field) << c.scanCode << " " << c.keysym;
        EXPECT_EQ(editActionFor(event), c.app) << c.scanCode << " " << c.keysym;
    }
}

// Exposes the field's own key handling, bypassing any application-wide routing.
class ProbeField final : public EditableTextField
{
public:
    using EditableTextField::event;
    using EditableTextField::keyPressEvent;
};

TEST(EditableTextField, CopiesAndPastesByPhysicalKeyWithAKoreanLayout)
{
    ProbeField field;
    field.setText(QStringLiteral("300"));
    field.selectAll();
    QKeyEvent copy = koreanKey(kC, symC);
    field.keyPressEvent(&copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("300"));
    QGuiApplication::clipboard()->setText(QStringLiteral("3500"));
    QKeyEvent paste = koreanKey(kV, symV);
    field.keyPressEvent(&paste);
    EXPECT_EQ(field.text(), QStringLiteral("3500"));
    // the field claims its editing keys before application shortcuts see them
    QKeyEvent override = koreanKey(kV, symV, Ctrl, QEvent::ShortcutOverride);
    override.ignore();
    field.event(&override);
    EXPECT_TRUE(override.isAccepted());
    // the same key without Ctrl still types
    field.clear();
    QKeyEvent typing = koreanKey(kC, symC, Qt::NoModifier);
    field.keyPressEvent(&typing);
    EXPECT_EQ(field.text(), QStringLiteral("ㅊ"));
}

TEST(EditMenu, QtLineEditsGetTheShortcutsByPhysicalKeyAndReadOnlyOnesNeverChange)
{
    installEditMenu();
    installEditMenu(); // a second installation must not double every action
    KeyableWindow window;
    auto* line = new QLineEdit(&window);
    auto* readOnly = new QLineEdit(QStringLiteral("읽기 전용"), &window);
    readOnly->setReadOnly(true);
    window.makeKeyAndOrderFront(); // a borderless window that takes keyboard focus
    QApplication::processEvents();
    ASSERT_TRUE(window.isActiveWindow());
    const auto press = [](QWidget* target, quint32 scanCode, quint32 keysym,
                          Qt::KeyboardModifiers mods = Ctrl) {
        target->setFocus();
        QKeyEvent event = koreanKey(scanCode, keysym, mods);
        QApplication::sendEvent(target, &event);
    };

    QGuiApplication::clipboard()->setText(QStringLiteral("딴짓"));
    press(line, kV, symV);
    EXPECT_EQ(line->text(), QStringLiteral("딴짓"));
    press(line, kZ, symZ);
    EXPECT_EQ(line->text(), QString());
    press(line, kZ, symZ, Ctrl | Qt::ShiftModifier);
    EXPECT_EQ(line->text(), QStringLiteral("딴짓"));

    press(readOnly, kA, symA);
    press(readOnly, kX, symX);
    EXPECT_EQ(readOnly->text(), QStringLiteral("읽기 전용"));
    press(readOnly, kC, symC);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("읽기 전용"));
    EXPECT_FALSE(performEditAction(readOnly, EditAction::Paste));
    EXPECT_FALSE(performEditAction(&window, EditAction::Copy));
}

} // namespace
