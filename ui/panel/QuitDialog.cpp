#include "ui/panel/QuitDialog.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

std::optional<bool> g_nextAnswer;

} // namespace

void setNextQuitAnswer(std::optional<bool> answer)
{
    g_nextAnswer = answer;
}

bool askToQuit()
{
    if (g_nextAnswer) {
        const bool answer = *g_nextAnswer;
        g_nextAnswer.reset();
        return answer;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("톡웍"),
                    QStringLiteral("톡웍을 종료할까요?"));
    QPushButton* quit = box.addButton(QStringLiteral("종료"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("취소"), QMessageBox::RejectRole);
    box.setDefaultButton(quit);
    box.setEscapeButton(cancel);
    // The application has no window in front: the question must not hide behind another one.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
    return box.clickedButton() == quit;
}
