// SPDX-License-Identifier: GPL-3.0-or-later
// The windowed demos as a user ends them: "닫기" on every panel, and the process is over.
#include "preview/PanelDemos.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/GlassPanel.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QList<GlassPanel*> shownPanels()
{
    QList<GlassPanel*> panels;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* panel = qobject_cast<GlassPanel*>(window); panel && panel->isVisible())
            panels.append(panel);
    return panels;
}

void pressClose(GlassPanel* panel)
{
    for (ChipButton* chip : panel->findChildren<ChipButton*>())
        if (chip->text() == QStringLiteral("닫기") && chip->isVisible()) {
            chip->click();
            return;
        }
    ADD_FAILURE() << "a panel without a visible 닫기";
}

TEST(PanelDemos, TheDemoEndsWhenItsLastPanelIsClosed)
{
    int panelsSeen = 0;
    int stillShownBeforeLast = -1;
    // The panels close one by one once the demo runs; a demo still running after them fails
    // through the watchdog's exit code instead of hanging the suite.
    QTimer::singleShot(200, [&] {
        const QList<GlassPanel*> panels = shownPanels();
        panelsSeen = int(panels.size());
        for (qsizetype i = 0; i < panels.size(); ++i) {
            if (i == panels.size() - 1)
                stillShownBeforeLast = int(shownPanels().size());
            pressClose(panels[i]);
        }
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(99); });
    watchdog.start(10000);

    const int code = runTwoPanelsDemo();
    QApplication::setQuitOnLastWindowClosed(false);
    EXPECT_EQ(panelsSeen, 3);
    EXPECT_EQ(stillShownBeforeLast, 1) << "the panels before the last one close by themselves";
    EXPECT_EQ(code, 0) << "the demo kept running with every panel closed";
}

} // namespace
