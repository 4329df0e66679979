// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DayState.h"

#include <QKeySequence>
#include <QString>

#include <functional>
#include <optional>

class QMenu;

// The tray icon's menu, rebuilt every time it opens from what the day is at that moment.

enum class MenuCommand
{
    showPanel,
    togglePin,
    reChooseEod,
    rest,
    away,
    backToWork,
    openSettings,
    refresh,
    quit,
};

struct MenuContext
{
    bool pinned = false;
    // The leave-or-stay answer can be given again: overtime or dinner now, or the day is done.
    bool canReChoose = false;
    // The user's own break: offered while working, ended while on one.
    DayState state = DayState::off;
    ManualState manual = ManualState::work;
    // The day at the top, for desktops where a click opens the menu, not the panel (GNOME): the
    // headline with the earned money, and the slacking figures while they are tracked and shown.
    QString dayLine;
    std::optional<QString> slackingLine;
};

// "<title> · <earned>", the title alone without an earned text.
QString menuDayLine(const QString& title, const QString& earnedText);
// "<time slacked> · <its money>", the time alone without a money text.
QString menuSlackingLine(const QString& wolluText, const QString& wolluMoneyText);

// The key that runs `command` from the menu and from the panel, or an empty sequence.
QKeySequence menuShortcut(MenuCommand command);

// Replaces the items of `menu` with the ones for `context`; choosing one calls `run`.
void fillStatusMenu(QMenu& menu, const MenuContext& context,
                    const std::function<void(MenuCommand)>& run);
