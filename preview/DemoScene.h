// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class GlassPanel;
class PanelVC;

// The fixed days the previews and demos show, the same made-up figures every time.
enum class DemoScene
{
    working,
    lunch,
    overtime,
    dinner,
    done
};

// A glass panel window around a fresh PanelVC filled with the scene. The panel follows the
// desktop's light or dark appearance (its content refreshes on a palette change). The caller owns
// the window.
GlassPanel* demoPanel(DemoScene scene);
// The panel of row `row` (0 to 3) of the scripted demo ("근무중", "점심시간", "야근중", "퇴근"):
// a fixed status with its own slacking time, shown without the "(세전)" tag; its caption in
// `caption`. None for other rows. The caller owns it.
PanelVC* scriptedDemoPanel(int row, QString* caption);
// A PanelVC given `scene` in a fixed appearance, not in a window (for pictures).
PanelVC* demoPanelView(DemoScene scene, bool dark, qreal pixelRatio);
