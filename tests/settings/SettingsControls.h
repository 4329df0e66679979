// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The settings window's controls, found by their object names as a user's tool would find them:
// control<QCheckBox>(window, "analytics").

#include "ui/settings/DaysOffEditor.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/toolkit/EditableTextField.h"
#include "ui/toolkit/GlassWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTimeEdit>

#include <array>

template <typename T> T* control(const SettingsWindowController& c, const char* name)
{
    return c.window()->findChild<T*>(QLatin1String(name));
}

// 0 출근, 1 퇴근, 2 점심 시작, 3 점심 끝.
inline QTimeEdit* picker(const SettingsWindowController& c, int index)
{
    static constexpr std::array<const char*, 4> names{"workStart", "workEnd", "lunchStart",
                                                      "lunchEnd"};
    return control<QTimeEdit>(c, names.at(size_t(index)));
}
