// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowHints.h"

namespace WindowHints {

void showOnAllDesktops(QWidget*)
{}
void keepOffTaskbar(QWidget*)
{}
void requestBlurBehind(QWidget*)
{}
bool compositing()
{
    return true;
}
bool windowManagerIgnoresPositions()
{
    return false;
}
void askCompositorToPlace(QWidget*, QPoint)
{}
QList<QRect> compositorWorkAreas()
{
    return {};
}

} // namespace WindowHints
