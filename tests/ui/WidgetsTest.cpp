#include "ui/TestApp.h"

#include "GlassPanel.h"
#include "KeyableWindow.h"
#include "LineHeight.h"
#include "ReactiveVFX.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>

#include <memory>

namespace {

TEST(RoundedMask, SizedTwiceTheRadiusPlusTwoWithClearCorners)
{
    testApp();
    const QImage mask = roundedMaskImage(8);
    EXPECT_EQ(mask.size(), QSize(18, 18));
    EXPECT_EQ(qAlpha(mask.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(mask.pixel(17, 17)), 0);
    EXPECT_EQ(mask.pixel(9, 9), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(mask.pixel(9, 0)), 255); // edges between the corners are solid

    const QImage sharp = roundedMaskImage(8, 2.0);
    EXPECT_EQ(sharp.size(), QSize(36, 36));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(18, 18));

    EXPECT_EQ(roundedMaskImage(-5).size(), QSize(2, 2));
    EXPECT_EQ(roundedMaskImage(std::nan("")).size(), QSize(2, 2));
}

TEST(GlassPanel, FramelessTopToolWindowThatFollowsItsContent)
{
    testApp();
    auto* content = new QWidget;
    content->resize(256, 357);
    std::unique_ptr<GlassPanel> panel(makeGlassPanel(content, true));

    const Qt::WindowFlags flags = panel->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(panel->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(panel->hidesOnDeactivate());
    EXPECT_EQ(panel->size(), QSize(256, 357));
    EXPECT_EQ(content->window(), panel.get());

    panel->show(); // the window-manager hints must be harmless without X11
    EXPECT_TRUE(panel->isVisible());
    content->resize(256, 399);
    EXPECT_EQ(panel->size(), QSize(256, 399));
    EXPECT_EQ(panel->glass()->size(), QSize(256, 399));
}

TEST(KeyableWindow, BorderlessWindowAcceptsKeyboardFocus)
{
    testApp();
    KeyableWindow window;
    auto* field = new QLineEdit(&window);
    window.resize(256, 200);
    window.makeKeyAndOrderFront();
    QApplication::processEvents();
    field->setFocus();
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(window.isActiveWindow());
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST(ReactiveVFX, ReportsAThemeSwitchOnceAfterPropagationAndMayRebuildItsChildren)
{
    testApp();
    ReactiveVFX view;
    auto* layout = new QVBoxLayout(&view);
    for (int i = 0; i < 5; ++i)
        layout->addWidget(new QLabel(QStringLiteral("row")));
    int calls = 0;
    view.onAppearanceChange = [&] {
        ++calls;
        // What the settings window does: throw every child away and build anew.
        qDeleteAll(view.findChildren<QLabel*>(Qt::FindDirectChildrenOnly));
        layout->addWidget(new QLabel(QStringLiteral("rebuilt"), &view));
    };
    view.show();

    QApplication::setPalette(QPalette(QColor(30, 30, 30)));
    QEvent themeChange(QEvent::ThemeChange);
    QApplication::sendEvent(&view, &themeChange);
    EXPECT_EQ(calls, 0); // not in the middle of the propagation
    QApplication::processEvents();
    EXPECT_EQ(calls, 1);
    // The application may pass a palette on to its widgets through posted events.
    QApplication::setPalette(QPalette(QColor(250, 250, 250)));
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(view.findChildren<QLabel*>().size(), 1);
}

double blockLineHeight(const QLabel& label)
{
    QTextDocument doc;
    doc.setHtml(label.text());
    const QTextBlockFormat format = doc.begin().blockFormat();
    EXPECT_EQ(format.lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    return format.lineHeight();
}

TEST(LineHeight, LabelsGetTallerLinesAndKeepTheirLook)
{
    testApp();
    QWidget root;
    auto* plain = new QLabel(QStringLiteral("오늘 열일"), &root);
    plain->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* nested = new QWidget(&root);
    auto* rich =
        new QLabel(QStringLiteral("<span style=\"color:#ff0000\">3,000원</span> 남음"), nested);
    auto* empty = new QLabel(&root);
    auto* editable = new QLabel(QStringLiteral("편집 가능"), &root);
    editable->setTextInteractionFlags(Qt::TextEditorInteraction);
    const int plainHeightBefore = plain->sizeHint().height();

    applyLineHeightToLabels(&root);

    EXPECT_DOUBLE_EQ(blockLineHeight(*plain), 140);
    EXPECT_GT(plain->sizeHint().height(), plainHeightBefore);
    QTextDocument doc;
    doc.setHtml(plain->text());
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("오늘 열일"));
    EXPECT_TRUE(doc.begin().blockFormat().alignment().testFlag(Qt::AlignRight));

    EXPECT_DOUBLE_EQ(blockLineHeight(*rich), 140);
    EXPECT_TRUE(rich->text().contains(QStringLiteral("#ff0000"))) << rich->text().toStdString();

    EXPECT_TRUE(empty->text().isEmpty());
    EXPECT_EQ(editable->text(), QStringLiteral("편집 가능"));

    const QString once = plain->text();
    applyLineHeight(plain);
    EXPECT_EQ(plain->text(), once);
}

} // namespace
