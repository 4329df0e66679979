// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The panel's parts, found by their object names as a user's tool would find them:
// part<ChipButton>(panel, "dinner").

#include "ui/panel/BarView.h"
#include "ui/panel/HistoryStrip.h"
#include "ui/panel/PanelVC.h"
#include "ui/toolkit/ChipButton.h"
#include "ui/toolkit/MascotView.h"
#include "ui/toolkit/PixelImageView.h"

#include <QLabel>
#include <QList>

#include <array>

template <typename T> T* part(const PanelVC& panel, const QString& name)
{
    return panel.findChild<T*>(name);
}

// The four rows' titles ("rowTitle") or values ("rowValue"), top to bottom.
inline QList<QLabel*> rowParts(const PanelVC& panel, const QString& kind)
{
    QList<QLabel*> labels;
    for (int i = 0; i < 4; ++i)
        labels << part<QLabel>(panel, kind + QString::number(i));
    return labels;
}
inline QList<QLabel*> rowLabels(const PanelVC& panel)
{
    return rowParts(panel, QStringLiteral("rowTitle"));
}
inline QList<QLabel*> valueLabels(const PanelVC& panel)
{
    return rowParts(panel, QStringLiteral("rowValue"));
}

// 설정, 닫기.
inline std::array<ChipButton*, 2> chipButtons(const PanelVC& panel)
{
    return {part<ChipButton>(panel, QStringLiteral("settings")),
            part<ChipButton>(panel, QStringLiteral("close"))};
}
