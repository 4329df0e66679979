// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/StatusMenu.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

// The menu as a reader sees it: titles in order, "-" for separators, "[x]" before a checked one.
QStringList itemsOf(const QMenu& menu)
{
    QStringList items;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator())
            items << QStringLiteral("-");
        else
            items << (action->isEnabled() ? QString() : QStringLiteral("(off) ")) +
                         (action->isChecked() ? QStringLiteral("[x] ") : QString()) +
                         action->text();
    }
    return items;
}

struct MenuCase
{
    const char* name;
    MenuContext context;
    QStringList items;
};

class StatusMenuItems : public testing::TestWithParam<MenuCase>
{};

TEST_P(StatusMenuItems, FollowTheDay)
{
    QMenu menu;
    fillStatusMenu(menu, GetParam().context, [](MenuCommand) {});
    EXPECT_EQ(itemsOf(menu), GetParam().items);
}

const QString kPin = QStringLiteral("패널 항상 띄우기 (작업 중)");
const QString kReChoose = QStringLiteral("퇴근/야근 다시 선택…");
const QString kTail[] = {QStringLiteral("톡웍 설정…"), QStringLiteral("새로고침"),
                         QStringLiteral("-"), QStringLiteral("톡웍 종료")};

const QString kDay = QStringLiteral("(off) 열심히 일하는 중 🐜 · (세전)84,300원 벌었어요");
const QString kSlacking = QStringLiteral("(off) ⏰ 47분 딴짓 · 💰 13,300원 월루");
const QString kDetails = QStringLiteral("오늘 자세히 보기");

MenuContext day(bool pinned, bool canReChoose, DayState state, ManualState manual,
                bool slacking = true)
{
    MenuContext context;
    context.pinned = pinned;
    context.canReChoose = canReChoose;
    context.state = state;
    context.manual = manual;
    context.dayLine = menuDayLine(QStringLiteral("열심히 일하는 중 🐜"),
                                  QStringLiteral("(세전)84,300원 벌었어요"));
    if (slacking)
        context.slackingLine =
            menuSlackingLine(QStringLiteral("⏰ 47분 딴짓"), QStringLiteral("💰 13,300원 월루"));
    return context;
}

// The day's lines, the way to the panel, a separator, then the commands.
QStringList with(QStringList commands, bool slacking = true)
{
    QStringList head{kDay};
    if (slacking)
        head << kSlacking;
    head << kDetails << QStringLiteral("-") << commands;
    for (const QString& item : kTail)
        head << item;
    return head;
}

INSTANTIATE_TEST_SUITE_P(
    States, StatusMenuItems,
    testing::Values(
        MenuCase{"Working", day(false, false, DayState::working, ManualState::work),
                 with({kPin, "-", "잠깐 쉴게요", "자리 비움", "-"})},
        MenuCase{"PausedAndPinned", day(true, false, DayState::working, ManualState::away),
                 with({"[x] " + kPin, "-", "다시 일하기", "-"})},
        // Tracking off, or its figures hidden by the eye button: no slacking line.
        MenuCase{"Lunch", day(false, false, DayState::lunch, ManualState::work, false),
                 with({kPin, "-"}, false)},
        MenuCase{"Overtime", day(false, true, DayState::overtime, ManualState::work),
                 with({kPin, "-", kReChoose, "-"})},
        MenuCase{"DayOff", day(false, false, DayState::off, ManualState::work), with({kPin, "-"})}),
    [](const testing::TestParamInfo<MenuCase>& tested) { return tested.param.name; });

TEST(StatusMenu, ItemsRunTheirCommandAndShowTheirKeys)
{
    QMenu menu;
    QList<MenuCommand> ran;
    const MenuContext working = day(false, true, DayState::overtime, ManualState::work);
    fillStatusMenu(menu, working, [&](MenuCommand c) { ran << c; });
    // Rebuilding replaces the items instead of adding to them.
    fillStatusMenu(menu, working, [&](MenuCommand c) { ran << c; });
    ASSERT_EQ(menu.actions().size(), 12);

    QStringList keys;
    for (QAction* action : menu.actions()) {
        if (!action->shortcut().isEmpty())
            keys << action->shortcut().toString();
        // Only enabled items run anything; the day's lines are figures.
        if (!action->isSeparator() && action->isEnabled())
            action->trigger();
    }
    EXPECT_EQ(keys, QStringList({"Ctrl+P", "Ctrl+,", "Ctrl+R", "Ctrl+Q"}));
    EXPECT_EQ(ran, QList<MenuCommand>({MenuCommand::showPanel, MenuCommand::togglePin,
                                       MenuCommand::reChooseEod, MenuCommand::openSettings,
                                       MenuCommand::refresh, MenuCommand::quit}));
}

} // namespace
