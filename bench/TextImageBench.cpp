// SPDX-License-Identifier: GPL-3.0-or-later
// Every text of the open panel is re-rendered as an image once a second (about a dozen lines),
// and the settings window renders some twenty lines on each relayout: one line must stay well
// under a millisecond.

#include "render/Colors.h"
#include "render/MonaFont.h"
#include "render/Resources.h"
#include "render/TextImage.h"

#include <QDir>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

bool pixelFontReady(benchmark::State& state)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        state.SkipWithError("text rendering needs a QGuiApplication");
        return false;
    }
    registerMonaFont();
    if (!monaAvailable())
        state.SkipWithError("pixel font not found (build tockwork_fonts); timing the fallback");
    return true;
}

void BM_renderMonaLine(benchmark::State& state)
{
    if (!pixelFontReady(state))
        return;
    const QFont font = mona(12);
    const QColor colour = inkColor();
    const QString text = QStringLiteral("(세전)84,300원 벌었어요 ♥");
    const qreal dpr = qreal(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(renderMonaLine(text, font, colour, dpr));
}
BENCHMARK(BM_renderMonaLine)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_monaLineSegments(benchmark::State& state)
{
    if (!pixelFontReady(state))
        return;
    const QFont font = mona(12);
    const QString text = QStringLiteral("월루 12분 34초 ⏰ 🐜💸 ♥★ 딴짓 중");
    for (auto _ : state)
        benchmark::DoNotOptimize(monaLineSegments(text, font));
}
BENCHMARK(BM_monaLineSegments)->Unit(benchmark::kMicrosecond);

void BM_renderColoredAmount(benchmark::State& state)
{
    if (!pixelFontReady(state))
        return;
    const QFont font = mona(12);
    const QColor green = moneyGreenColor();
    for (auto _ : state) {
        const AttributedText amount = coloredAmount(QStringLiteral("(세전)84,300원"), green, font);
        benchmark::DoNotOptimize(renderAttr(amount, 2));
    }
}
BENCHMARK(BM_renderColoredAmount)->Unit(benchmark::kMicrosecond);

} // namespace
