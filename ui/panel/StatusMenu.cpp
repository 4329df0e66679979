// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/StatusMenu.h"

#include <QAction>
#include <QMenu>

QKeySequence menuShortcut(MenuCommand command)
{
    switch (command) {
    case MenuCommand::togglePin:
        return QKeySequence(Qt::CTRL | Qt::Key_P);
    case MenuCommand::openSettings:
        return QKeySequence(Qt::CTRL | Qt::Key_Comma);
    case MenuCommand::refresh:
        return QKeySequence(Qt::CTRL | Qt::Key_R);
    case MenuCommand::quit:
        return QKeySequence(Qt::CTRL | Qt::Key_Q);
    default:
        return {};
    }
}

namespace {

QString joined(const QString& first, const QString& second)
{
    return second.isEmpty() ? first : first + QStringLiteral(" · ") + second;
}

} // namespace

QString menuDayLine(const QString& title, const QString& earnedText)
{
    return joined(title, earnedText);
}

QString menuSlackingLine(const QString& wolluText, const QString& wolluMoneyText)
{
    return joined(wolluText, wolluMoneyText);
}

void fillStatusMenu(QMenu& menu, const MenuContext& context,
                    const std::function<void(MenuCommand)>& run)
{
    // The menu owns the items it made, and clear() deletes them.
    menu.clear();

    const auto add = [&](const QString& title, MenuCommand command) {
        QAction* action = menu.addAction(title);
        action->setShortcut(menuShortcut(command));
        // Shown in the menu; the panel has its own shortcuts, and a second owner of the same key
        // would make both ambiguous.
        action->setShortcutContext(Qt::WidgetShortcut);
        QObject::connect(action, &QAction::triggered, &menu, [run, command] { run(command); });
        return action;
    };

    // Figures, not commands: shown, never chosen. "&" in them is text, not a mnemonic.
    const auto addLine = [&](QString text) {
        QAction* line = menu.addAction(text.replace(u'&', QStringLiteral("&&")));
        line->setEnabled(false);
    };
    if (!context.dayLine.isEmpty())
        addLine(context.dayLine);
    if (context.slackingLine)
        addLine(*context.slackingLine);
    add(QStringLiteral("오늘 자세히 보기"), MenuCommand::showPanel);
    menu.addSeparator();

    QAction* pin = add(QStringLiteral("패널 항상 띄우기 (작업 중)"), MenuCommand::togglePin);
    pin->setCheckable(true);
    pin->setChecked(context.pinned);
    menu.addSeparator();

    if (context.manual != ManualState::work) {
        add(QStringLiteral("다시 일하기"), MenuCommand::backToWork);
        menu.addSeparator();
    } else if (context.state == DayState::working) {
        add(QStringLiteral("잠깐 쉴게요"), MenuCommand::rest);
        add(QStringLiteral("자리 비움"), MenuCommand::away);
        menu.addSeparator();
    }

    if (context.canReChoose) {
        add(QStringLiteral("퇴근/야근 다시 선택…"), MenuCommand::reChooseEod);
        menu.addSeparator();
    }
    add(QStringLiteral("톡웍 설정…"), MenuCommand::openSettings);
    add(QStringLiteral("새로고침"), MenuCommand::refresh);
    menu.addSeparator();
    add(QStringLiteral("톡웍 종료"), MenuCommand::quit);
}
