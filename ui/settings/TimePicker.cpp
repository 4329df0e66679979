// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/TimePicker.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

TimePicker::TimePicker(QWidget* parent) : QTimeEdit(parent)
{
    setDisplayFormat(QStringLiteral("HH:mm"));
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setAlignment(Qt::AlignCenter);
    setWrapping(true);
    lineEdit()->installEventFilter(this);
}

bool TimePicker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // After the line edit has placed its cursor for this click; a drag that selected text
        // keeps its selection.
        QTimer::singleShot(0, this, [this] {
            if (!lineEdit()->hasSelectedText())
                setSelectedSection(currentSection());
        });
    }
    return QTimeEdit::eventFilter(watched, event);
}
