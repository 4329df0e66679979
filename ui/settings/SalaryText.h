// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The salary field speaks in units of 10,000 won (만원); the store keeps whole won.
namespace SalaryText {

// No real monthly salary comes near 100억 won; anything above it is a typing slip, and the bound
// keeps every figure derived from the salary far inside a 64-bit integer.
inline constexpr qint64 kMaxMonthlyWon = 10'000'000'000;

struct Reading
{
    enum class Kind
    {
        empty,      // no digits, only blanks: no salary
        won,        // a salary in `won` (0 means none)
        tooLarge,   // beyond kMaxMonthlyWon
        notANumber, // something was typed, but not a single digit
    };
    Kind kind = Kind::empty;
    qint64 won = 0;
};

// Reads what the user typed: every decimal digit of any script counts by its value ("３５０" is
// 350), grouping commas and words such as "만" or "원" are ignored ("3,500만" is 3500), and a
// decimal point gives 만원 fractions down to the won ("300.5" is 3,005,000 won).
Reading read(const QString& text);

// The field's text for a stored salary: whole 만원, empty when no salary is set.
QString display(qint64 won);

} // namespace SalaryText
