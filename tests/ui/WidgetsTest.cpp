// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/LineHeight.h"
#include "ui/toolkit/GlassPanel.h"
#include "ui/toolkit/KeyableWindow.h"
#include "ui/toolkit/ReactiveVFX.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <QLabel>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>

#include <memory>

namespace {

TEST(RoundedMask, SizedTwiceTheRadiusPlusTwoWithClearCorners)
{
    const QImage mask = roundedMaskImage(8);
    EXPECT_EQ(mask.size(), QSize(18, 18));
    EXPECT_EQ(qAlpha(mask.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(mask.pixel(9, 0)), 255); // edges between the corners are solid
    EXPECT_EQ(roundedMaskImage(std::nan("")).size(), QSize(2, 2));
}

TEST(GlassPanel, FramelessTopToolWindowThatFollowsItsContent)
{
    auto* content = new QWidget;
    content->resize(256, 357);
    std::unique_ptr<GlassPanel> panel(makeGlassPanel(content, true));

    EXPECT_EQ(panel->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    // The desktop's own shadow under it, as under menus.
    EXPECT_FALSE(panel->windowFlags() & Qt::NoDropShadowWindowHint);
    EXPECT_TRUE(panel->hidesOnDeactivate());

    panel->show(); // the window-manager hints must be harmless without X11
    content->resize(256, 399);
    EXPECT_EQ(panel->size(), QSize(256, 399));
    EXPECT_EQ(panel->glass()->size(), QSize(256, 399));
}

TEST(ReactiveVFX, ReportsAThemeSwitchOnceAfterPropagationAndMayRebuildItsChildren)
{
    ReactiveVFX view;
    auto* layout = new QVBoxLayout(&view);
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
    return doc.begin().blockFormat().lineHeight();
}

TEST(LineHeight, LabelsGetTallerLinesAndKeepTheirLook)
{
    QWidget root;
    auto* plain = new QLabel(QStringLiteral("오늘 열일"), &root);
    plain->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* nested = new QWidget(&root);
    auto* rich =
        new QLabel(QStringLiteral("<span style=\"color:#ff0000\">3,000원</span> 남음"), nested);
    auto* editable = new QLabel(QStringLiteral("편집 가능"), &root);
    editable->setTextInteractionFlags(Qt::TextEditorInteraction);

    applyLineHeightToLabels(&root);

    EXPECT_DOUBLE_EQ(blockLineHeight(*plain), 140);

    EXPECT_DOUBLE_EQ(blockLineHeight(*rich), 140);
    EXPECT_TRUE(rich->text().contains(QStringLiteral("#ff0000")));
    EXPECT_EQ(editable->text(), QStringLiteral("편집 가능"));

    const QString once = plain->text();
    applyLineHeight(plain);
    EXPECT_EQ(plain->text(), once);
}

} // namespace
