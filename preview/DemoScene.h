#pragma once

#include <QList>

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
// A PanelVC given `scene` in a fixed appearance, not in a window (for pictures).
PanelVC* demoPanelView(DemoScene scene, bool dark, qreal pixelRatio);
