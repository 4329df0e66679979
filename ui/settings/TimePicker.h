// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimeEdit>

// A 24-hour "HH:mm" field. A click selects the hour or minute under the pointer, so typing
// replaces it ("0800" after clicking the hour gives 08:00), as Tab into the field already does.
class TimePicker final : public QTimeEdit
{
    Q_OBJECT
public:
    explicit TimePicker(QWidget* parent = nullptr);

protected:
    // Clicks land on the field's own line edit, never on the picker itself.
    bool eventFilter(QObject* watched, QEvent* event) override;
};
