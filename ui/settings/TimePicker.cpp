#include "ui/settings/TimePicker.h"

#include <QLineEdit>
#include <QMouseEvent>

TimePicker::TimePicker(QWidget* parent) : QTimeEdit(parent)
{
    setDisplayFormat(QStringLiteral("HH:mm"));
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setAlignment(Qt::AlignCenter);
    setWrapping(true);
}

void TimePicker::mouseReleaseEvent(QMouseEvent* event)
{
    QTimeEdit::mouseReleaseEvent(event);
    // A drag that selected text keeps its selection.
    if (event->button() == Qt::LeftButton && !lineEdit()->hasSelectedText())
        setSelectedSection(currentSection());
}
