#pragma once

#include <optional>

// "톡웍을 종료할까요?" with "종료" and "취소": true when the user chose to quit.
bool askToQuit();

// Answers the next askToQuit() without showing anything (tests), once.
void setNextQuitAnswer(std::optional<bool> answer);
