// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SalaryText.h"

#include <QChar>
#include <QList>

namespace SalaryText {

namespace {

constexpr qint64 kWonPerUnit = 10'000;
constexpr qint64 kMaxUnits = kMaxMonthlyWon / kWonPerUnit;
constexpr int kFractionDigits = 4; // 만원 down to the won

bool isDecimalPoint(char32_t c)
{
    return c == U'.' || c == U'\uFF0E'; // full-width full stop, typed by Korean input methods
}

bool isBlank(char32_t c)
{
    return QChar::isSpace(c);
}

} // namespace

Reading read(const QString& text)
{
    qint64 units = 0;
    qint64 fraction = 0;
    int fractionDigits = 0;
    bool sawDigit = false;
    bool sawOther = false;
    bool inFraction = false;
    for (const char32_t c : text.toUcs4()) {
        const int digit =
            QChar::category(c) == QChar::Number_DecimalDigit ? QChar::digitValue(c) : -1;
        if (digit >= 0 && digit <= 9) {
            sawDigit = true;
            if (inFraction) {
                if (fractionDigits < kFractionDigits) {
                    fraction = fraction * 10 + digit;
                    ++fractionDigits;
                }
                continue;
            }
            units = units * 10 + digit;
            if (units > kMaxUnits)
                return {Reading::Kind::tooLarge, 0};
            continue;
        }
        if (isDecimalPoint(c) && !inFraction) {
            inFraction = true;
            continue;
        }
        if (!isBlank(c))
            sawOther = true;
    }
    if (!sawDigit)
        return {sawOther ? Reading::Kind::notANumber : Reading::Kind::empty, 0};
    for (int d = fractionDigits; d < kFractionDigits; ++d)
        fraction *= 10;
    const qint64 won = units * kWonPerUnit + fraction;
    if (won > kMaxMonthlyWon)
        return {Reading::Kind::tooLarge, 0};
    return {Reading::Kind::won, won};
}

QString display(qint64 won)
{
    return won >= 1 ? QString::number(won / kWonPerUnit) : QString();
}

} // namespace SalaryText
