// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/toolkit/EditableTextField.h"

// An editable field whose text is drawn, edited and selected vertically centred, also when the
// field is taller than its font needs (the settings window's fields are laid out by fixed frames).
class CenteredTextField final : public EditableTextField
{
    Q_OBJECT
public:
    explicit CenteredTextField(QWidget* parent = nullptr);

    // Horizontal alignment only; the vertical centring is kept.
    void setHorizontalAlignment(Qt::Alignment alignment);
};
