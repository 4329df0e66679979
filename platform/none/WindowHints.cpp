#include "platform/WindowHints.h"

namespace WindowHints {

void showOnAllDesktops(QWidget*)
{}
void keepOffTaskbar(QWidget*)
{}
void requestBlurBehind(QWidget*)
{}

} // namespace WindowHints
