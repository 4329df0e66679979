// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/Format.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// The largest double that still fits a signed 64-bit integer (2^63 - 1024); converting anything
// beyond it would be undefined, so amounts and durations are clamped to it first.
constexpr double kInt64Edge = 9223372036854774784.0;

// Rounds half away from zero into a 64-bit integer. NaN and infinities have no amount to show and
// read as 0; finite values beyond the integer range stop at its edge.
qint64 roundToInt64(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<qint64>(std::clamp(std::round(value), -kInt64Edge, kInt64Edge));
}

// The user's number style. A process without a real locale (C or POSIX) would print amounts
// ungrouped in the middle of Korean sentences, so it borrows the Korean style instead.
QLocale numberLocale()
{
    QLocale locale;
    if (locale.language() == QLocale::C) {
        static const QLocale korean(QLocale::Korean, QLocale::SouthKorea);
        return korean;
    }
    return locale;
}

} // namespace

QString fmtWon(double won)
{
    QString digits = numberLocale().toString(roundToInt64(won));
    if (digits.isEmpty())
        digits = QStringLiteral("0");
    return digits + QStringLiteral("원");
}

QString fmtDurSec(double minutes)
{
    // Minutes this large overflow to infinity when turned into seconds; clamp the seconds, not
    // the minutes, so every finite input still lands on the integer range.
    const double secondsIn = std::isfinite(minutes) ? minutes * 60.0 : 0.0;
    const qint64 n =
        roundToInt64(std::isfinite(secondsIn) ? secondsIn : std::copysign(kInt64Edge, secondsIn));
    if (n < 1)
        return QStringLiteral("0초");

    QString text;
    const auto addPart = [&text](qint64 value, const QString& unit) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += QString::number(value) + unit;
    };
    if (n >= 3600)
        addPart(n / 3600, QStringLiteral("시간"));
    if (n % 3600 >= 60)
        addPart(n % 3600 / 60, QStringLiteral("분"));
    if (n % 60 != 0 || text.isEmpty())
        addPart(n % 60, QStringLiteral("초"));
    return text;
}

QString fmtMinutes(double minutes)
{
    const qint64 total = std::max<qint64>(roundToInt64(minutes), 0);
    const qint64 h = total / 60;
    const qint64 m = total % 60;
    if (h == 0)
        return QString::number(m) + QStringLiteral("분");
    return QString::number(h) + QStringLiteral("시간") +
           (m ? u' ' + QString::number(m) + QStringLiteral("분") : QString());
}

QStringList moneyLineForms(const QString& text)
{
    static const QRegularExpression line(
        QStringLiteral("^(\\(세전\\))?(.*?)([+-]?)([0-9](?:[0-9]|[^0-9원](?=[0-9]))*)원(.*)$"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = line.match(text);
    QStringList forms{text};
    if (!m.hasMatch())
        return forms;
    const QString sign = m.captured(3);
    const QString amount = m.captured(4) + QStringLiteral("원");
    const auto add = [&forms](const QString& form) {
        if (!forms.contains(form))
            forms.append(form);
    };
    if (m.capturedLength(1) > 0)
        add(m.captured(2) + sign + amount + m.captured(5));
    add(sign + amount);
    QString digits;
    for (const QChar c : m.captured(4))
        if (c.isDigit())
            digits += c;
    bool ok = false;
    const double won = digits.toDouble(&ok);
    if (!ok)
        return forms;
    // Rounded, not truncated: a figure in 만원 says what the amount is nearest to.
    add(sign + numberLocale().toString(roundToInt64(won / 10000.0)) + QStringLiteral("만원"));
    add(sign + numberLocale().toString(won / 1e8, 'f', 1) + QStringLiteral("억원"));
    return forms;
}
