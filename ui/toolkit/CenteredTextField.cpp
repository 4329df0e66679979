// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit/CenteredTextField.h"

CenteredTextField::CenteredTextField(QWidget* parent) : EditableTextField(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CenteredTextField::setHorizontalAlignment(Qt::Alignment alignment)
{
    setAlignment((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
}
