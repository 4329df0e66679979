#include "ui/TestApp.h"

#include "EditShortcuts.h"
#include "EditableTextField.h"
#include "KeyableWindow.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

// xkb key codes of the physical keys, and the key symbols a Korean (dubeolsik) layout gives them.
constexpr quint32 kA = 38, kZ = 52, kX = 53, kC = 54, kV = 55, kQ = 24;
constexpr quint32 kHangulChieuch = 0xeba, kHangulPieub = 0xebd;

QKeyEvent koreanKey(quint32 scanCode, Qt::KeyboardModifiers mods, quint32 keysym = kHangulChieuch,
                    QEvent::Type type = QEvent::KeyPress)
{
    return QKeyEvent(type, Qt::Key_unknown, mods, scanCode, keysym, 0, QStringLiteral("ㅊ"));
}

struct KeyCase
{
    const char* name;
    quint32 scanCode;
    quint32 keysym;
    int key;
    Qt::KeyboardModifiers mods;
    std::optional<EditAction> field;
    std::optional<EditAction> app;
};

class EditKeyRule : public ::testing::TestWithParam<KeyCase>
{};

TEST_P(EditKeyRule, PhysicalKeyAndExactModifiersDecide)
{
    const KeyCase& c = GetParam();
    const QKeyEvent event(QEvent::KeyPress, c.key, c.mods, c.scanCode, c.keysym, 0);
    EXPECT_EQ(fieldEditAction(event), c.field);
    EXPECT_EQ(editActionFor(event), c.app);
}

const auto ctrl = Qt::KeyboardModifiers(Qt::ControlModifier);
const auto ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
using A = EditAction;

INSTANTIATE_TEST_SUITE_P(
    Keys, EditKeyRule,
    ::testing::Values(
        KeyCase{"KoreanC", kC, kHangulChieuch, Qt::Key_unknown, ctrl, A::Copy, A::Copy},
        KeyCase{"KoreanV", kV, kHangulPieub, Qt::Key_unknown, ctrl, A::Paste, A::Paste},
        KeyCase{"KoreanX", kX, 0xebc, Qt::Key_unknown, ctrl, A::Cut, A::Cut},
        KeyCase{"KoreanA", kA, 0xeb7, Qt::Key_unknown, ctrl, A::SelectAll, A::SelectAll},
        KeyCase{"KoreanZ", kZ, 0xebb, Qt::Key_unknown, ctrl, A::Undo, A::Undo},
        KeyCase{"RedoOnlyApplicationWide", kZ, 0xebb, Qt::Key_unknown, ctrlShift, std::nullopt,
                A::Redo},
        KeyCase{"ShiftedCopyIsNotCopy", kC, 'C', Qt::Key_C, ctrlShift, std::nullopt, std::nullopt},
        KeyCase{"AltAddedIsNotCopy", kC, 'c', Qt::Key_C, ctrl | Qt::AltModifier, std::nullopt,
                std::nullopt},
        KeyCase{"NoModifier", kC, 'c', Qt::Key_C, Qt::NoModifier, std::nullopt, std::nullopt},
        // The hardware position wins over the layout: Dvorak's "j" sits on the C key.
        KeyCase{"DvorakPosition", kC, 'j', Qt::Key_J, ctrl, A::Copy, A::Copy},
        KeyCase{"OtherPhysicalKey", kQ, 'v', Qt::Key_V, ctrl, std::nullopt, std::nullopt},
        // Without a hardware code (synthetic or remote input) the Latin symbol or key decides.
        KeyCase{"KeysymOnly", 0, 'v', Qt::Key_unknown, ctrl, A::Paste, A::Paste},
        KeyCase{"KeyOnly", 0, 0, Qt::Key_X, ctrl, A::Cut, A::Cut},
        KeyCase{"KeypadFlagIgnored", 0, 0, Qt::Key_A, ctrl | Qt::KeypadModifier, A::SelectAll,
                A::SelectAll}),
    [](const auto& info) { return std::string(info.param.name); });

// Exposes the field's own key handling, bypassing any application-wide routing.
class ProbeField final : public EditableTextField
{
public:
    using EditableTextField::event;
    using EditableTextField::keyPressEvent;
};

TEST(EditableTextField, CopiesAndPastesByPhysicalKeyWithAKoreanLayout)
{
    testApp();
    ProbeField field;
    field.setText(QStringLiteral("300"));
    field.selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    QKeyEvent copy = koreanKey(kC, Qt::ControlModifier);
    field.keyPressEvent(&copy);
    EXPECT_TRUE(copy.isAccepted());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("300"));

    QGuiApplication::clipboard()->setText(QStringLiteral("3500"));
    QKeyEvent paste = koreanKey(kV, Qt::ControlModifier, kHangulPieub);
    field.keyPressEvent(&paste);
    EXPECT_EQ(field.text(), QStringLiteral("3500"));

    QKeyEvent undo = koreanKey(kZ, Qt::ControlModifier, 0xebb);
    field.keyPressEvent(&undo);
    EXPECT_EQ(field.text(), QStringLiteral("300"));

    // The field claims its editing keys before application shortcuts see them.
    QKeyEvent override = koreanKey(kV, Qt::ControlModifier, kHangulPieub, QEvent::ShortcutOverride);
    override.ignore();
    field.event(&override);
    EXPECT_TRUE(override.isAccepted());

    // Typing the same key without Ctrl still types.
    field.clear();
    QKeyEvent typing = koreanKey(kC, Qt::NoModifier);
    field.keyPressEvent(&typing);
    EXPECT_EQ(field.text(), QStringLiteral("ㅊ"));
}

class EditMenuTest : public ::testing::Test
{
protected:
    // The fixture owns widgets, so the application must exist before it is constructed.
    static void SetUpTestSuite() { testApp(); }

    void SetUp() override
    {
        installEditMenu();
        installEditMenu(); // a second installation must not double every action
        layout = new QVBoxLayout(&window);
        line = new QLineEdit;
        plain = new QPlainTextEdit;
        readOnly = new QLineEdit(QStringLiteral("읽기 전용"));
        readOnly->setReadOnly(true);
        layout->addWidget(line);
        layout->addWidget(plain);
        layout->addWidget(readOnly);
        window.makeKeyAndOrderFront();
        QApplication::processEvents();
    }

    void press(QWidget* target, quint32 scanCode, Qt::KeyboardModifiers mods,
               quint32 keysym = kHangulChieuch)
    {
        target->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), target);
        QKeyEvent event = koreanKey(scanCode, mods, keysym);
        QApplication::sendEvent(target, &event);
    }

    KeyableWindow window;
    QVBoxLayout* layout = nullptr;
    QLineEdit* line = nullptr;
    QPlainTextEdit* plain = nullptr;
    QLineEdit* readOnly = nullptr;
};

TEST_F(EditMenuTest, PlainQtFieldsGetTheShortcutsByPhysicalKey)
{
    ASSERT_TRUE(editMenuInstalled());
    QGuiApplication::clipboard()->setText(QStringLiteral("딴짓"));
    press(line, kV, Qt::ControlModifier, kHangulPieub);
    EXPECT_EQ(line->text(), QStringLiteral("딴짓"));

    press(plain, kV, Qt::ControlModifier, kHangulPieub);
    EXPECT_EQ(plain->toPlainText(), QStringLiteral("딴짓"));

    press(line, kZ, Qt::ControlModifier, 0xebb);
    EXPECT_EQ(line->text(), QString());
    press(line, kZ, Qt::ControlModifier | Qt::ShiftModifier, 0xebb);
    EXPECT_EQ(line->text(), QStringLiteral("딴짓"));
}

TEST_F(EditMenuTest, ReadOnlyFieldsCopyButNeverChange)
{
    press(readOnly, kA, Qt::ControlModifier, 0xeb7);
    EXPECT_EQ(readOnly->selectedText(), QStringLiteral("읽기 전용"));
    press(readOnly, kX, Qt::ControlModifier, 0xebc);
    EXPECT_EQ(readOnly->text(), QStringLiteral("읽기 전용"));
    press(readOnly, kC, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("읽기 전용"));
    EXPECT_FALSE(performEditAction(readOnly, EditAction::Paste));
    EXPECT_FALSE(performEditAction(&window, EditAction::Copy));
}

} // namespace
