// SPDX-License-Identifier: GPL-3.0-or-later
// The open panel is filled again every second: every text picture re-rendered, the figures reset
// when they changed. The budget for one refresh is 2 ms.

#include "display/Display.h"
#include "preview/DemoDisplays.h"
#include "preview/DemoScene.h"
#include "render/MonaFont.h"
#include "ui/panel/PanelVC.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A working day whose figures move on every second, as the clock does.
void BM_PanelApply(benchmark::State& state)
{
    registerMonaFont();
    if (!monaAvailable())
        state.SetLabel("pixel font not found (build tockwork_fonts): timing the fallback");
    PanelVC panel;
    panel.setAppearance(false);
    panel.setPixelRatio(qreal(state.range(0)));
    Display d = demoScene(DemoScene::working);
    int second = 0;
    for (auto _ : state) {
        ++second;
        d.workedText = QStringLiteral("4시간 58분 %1초").arg(second % 60);
        d.earnedText = QStringLiteral("(세전)84,%1원 벌었어요").arg(300 + second % 700);
        d.status.progress = 0.62 + (second % 100) * 1e-4;
        panel.apply(d);
    }
}
BENCHMARK(BM_PanelApply)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The same refresh drawn into the window's picture, as the screen shows it.
void BM_PanelApplyAndPaint(benchmark::State& state)
{
    registerMonaFont();
    PanelVC panel;
    panel.setAppearance(false);
    panel.setPixelRatio(1);
    Display d = demoScene(DemoScene::overtime);
    QImage canvas(panel.size(), QImage::Format_ARGB32_Premultiplied);
    int second = 0;
    for (auto _ : state) {
        ++second;
        d.remainText = QStringLiteral("야근 +1시간 %1분").arg(second % 60);
        panel.apply(d);
        canvas.fill(Qt::transparent);
        panel.render(&canvas, QPoint(), QRegion(), QWidget::DrawChildren);
        benchmark::DoNotOptimize(canvas.bits());
    }
}
BENCHMARK(BM_PanelApplyAndPaint)->Unit(benchmark::kMicrosecond);

} // namespace
