// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/panel/QuitDialog.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

std::optional<bool> g_nextAnswer;
// The question while it is open; its modal loop lets menu clicks (over D-Bus too) arrive.
QPointer<QMessageBox> g_open;

} // namespace

void setNextQuitAnswer(std::optional<bool> answer)
{
    g_nextAnswer = answer;
}

QWidget* openQuitQuestion()
{
    return g_open.data();
}

void dismissQuitQuestion()
{
    if (g_open)
        g_open->done(QDialog::Rejected);
}

std::optional<bool> askToQuit()
{
    if (g_nextAnswer) {
        const bool answer = *g_nextAnswer;
        g_nextAnswer.reset();
        return answer;
    }
    if (g_open) {
        g_open->raise();
        g_open->activateWindow();
        return std::nullopt;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("톡웍"),
                    QStringLiteral("톡웍을 종료할까요?"));
    QPushButton* quit = box.addButton(QStringLiteral("종료"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("취소"), QMessageBox::RejectRole);
    box.setDefaultButton(quit);
    box.setEscapeButton(cancel);
    // The application has no window in front: the question must not hide behind another one.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    g_open = &box;
    box.exec();
    g_open.clear();
    // Escape and the window's close button count as "취소"; no button at all is no answer (the
    // loop ended because the application quits).
    if (!box.clickedButton())
        return std::nullopt;
    return box.clickedButton() == quit;
}
