// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/PanelDemos.h"

#include "preview/DemoLayout.h"
#include "preview/DemoScene.h"
#include "ui/toolkit/GlassPanel.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include <memory>
#include <vector>

namespace {

int showPanels(const QList<DemoScene>& scenes, QScreen* screen, int gap, bool mayWrap)
{
    std::vector<std::unique_ptr<GlassPanel>> windows;
    QList<QSize> sizes;
    for (const DemoScene scene : scenes) {
        windows.emplace_back(demoPanel(scene));
        sizes.append(windows.back()->size());
    }
    const QRect area = screen->availableGeometry();
    const QList<QPoint> origins =
        mayWrap ? demoRowOrGrid(area, sizes, gap, 80) : demoRow(area, sizes, gap, 80);
    for (size_t i = 0; i < windows.size(); ++i) {
        // A tool window does not keep the application running by itself; these panels are the
        // demo's only windows, so each one counts.
        windows[i]->setAttribute(Qt::WA_QuitOnClose, true);
        windows[i]->move(origins.value(qsizetype(i)));
        windows[i]->show();
        windows[i]->raise();
    }
    // Closing the last panel (there is no other window) ends the demo.
    QApplication::setQuitOnLastWindowClosed(true);
    return QApplication::exec();
}

} // namespace

int runTwoPanelsDemo()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    return showPanels({DemoScene::working, DemoScene::overtime, DemoScene::done}, screen, 32,
                      false);
}

int runFourPanelsDemo()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    QStringList names;
    QList<QRect> geometries;
    for (const QScreen* screen : screens) {
        names.append(screen->name());
        geometries.append(screen->geometry());
    }
    const std::optional<qsizetype> external = largestExternalScreen(names, geometries);
    if (!external) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("톡웍"),
                        QStringLiteral("외장 디스플레이가 없어요"));
        box.setInformativeText(QStringLiteral("내장 디스플레이엔 띄우지 않도록 설정돼 있어서, "
                                              "외장 모니터를 연결한 뒤 다시 실행해 주세요."));
        box.exec();
        return 0;
    }
    return showPanels({DemoScene::working, DemoScene::lunch, DemoScene::overtime, DemoScene::done},
                      screens[*external], 28, true);
}
