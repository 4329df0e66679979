// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The day's progress as the pixel bar, and nothing else.
class BarView final : public QWidget
{
    Q_OBJECT
public:
    explicit BarView(QWidget* parent = nullptr);

    double progress = 0;   // 0...1
    double alpha2 = 1.0;   // opacity of the whole bar
    bool overtime = false; // filled cells in the overtime colour

protected:
    void paintEvent(QPaintEvent* event) override;
};
