// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// "톡웍을 종료할까요?" with "종료" and "취소": true when the user chose to quit, false when they
// chose to stay. None without the user's answer: the question was open already (it is brought to
// the front instead of asked twice), or it was dismissed because the application ends anyway.
std::optional<bool> askToQuit();

class QWidget;

// The question's window while it is open, else null.
QWidget* openQuitQuestion();

// Closes an open question without an answer (a quit by signal or at the end of the session).
void dismissQuitQuestion();

// Answers the next askToQuit() without showing anything (tests), once.
void setNextQuitAnswer(std::optional<bool> answer);
