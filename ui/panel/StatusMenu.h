#pragma once

#include "engine/DayState.h"

#include <QKeySequence>
#include <QString>

#include <functional>

class QMenu;

// The tray icon's menu, rebuilt every time it opens from what the day is at that moment.

enum class MenuCommand
{
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
};

// The key that runs `command` from the menu and from the panel, or an empty sequence.
QKeySequence menuShortcut(MenuCommand command);

// Replaces the items of `menu` with the ones for `context`; choosing one calls `run`.
void fillStatusMenu(QMenu& menu, const MenuContext& context,
                    const std::function<void(MenuCommand)>& run);
