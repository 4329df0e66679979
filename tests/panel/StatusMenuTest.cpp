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
            items << (action->isChecked() ? QStringLiteral("[x] ") : QString()) + action->text();
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

QStringList with(QStringList head)
{
    for (const QString& item : kTail)
        head << item;
    return head;
}

INSTANTIATE_TEST_SUITE_P(
    States, StatusMenuItems,
    testing::Values(
        MenuCase{"Working",
                 {false, false, DayState::working, ManualState::work},
                 with({kPin, "-", "잠깐 쉴게요", "자리 비움", "-"})},
        MenuCase{"PausedAndPinned",
                 {true, false, DayState::working, ManualState::away},
                 with({"[x] " + kPin, "-", "다시 일하기", "-"})},
        MenuCase{"Lunch", {false, false, DayState::lunch, ManualState::work}, with({kPin, "-"})},
        MenuCase{"Overtime",
                 {false, true, DayState::overtime, ManualState::work},
                 with({kPin, "-", kReChoose, "-"})},
        MenuCase{"DayOff", {false, false, DayState::off, ManualState::work}, with({kPin, "-"})}),
    [](const testing::TestParamInfo<MenuCase>& info) { return info.param.name; });

TEST(StatusMenu, ItemsRunTheirCommandAndShowTheirKeys)
{
    QMenu menu;
    QList<MenuCommand> ran;
    const MenuContext working{false, true, DayState::overtime, ManualState::work};
    fillStatusMenu(menu, working, [&](MenuCommand c) { ran << c; });
    // Rebuilding replaces the items instead of adding to them.
    fillStatusMenu(menu, working, [&](MenuCommand c) { ran << c; });
    ASSERT_EQ(menu.actions().size(), 8);

    QStringList keys;
    for (QAction* action : menu.actions()) {
        if (!action->shortcut().isEmpty())
            keys << action->shortcut().toString();
        if (!action->isSeparator())
            action->trigger();
    }
    EXPECT_EQ(keys, QStringList({"Ctrl+P", "Ctrl+,", "Ctrl+R", "Ctrl+Q"}));
    EXPECT_EQ(ran, QList<MenuCommand>({MenuCommand::togglePin, MenuCommand::reChooseEod,
                                       MenuCommand::openSettings, MenuCommand::refresh,
                                       MenuCommand::quit}));
}

} // namespace
