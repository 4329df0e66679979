// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DayState.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<DayState, const char16_t*>, 7> kDayStateNames{{
    {DayState::off, u"off"},
    {DayState::before, u"before"},
    {DayState::lunch, u"lunch"},
    {DayState::working, u"working"},
    {DayState::overtime, u"overtime"},
    {DayState::dinner, u"dinner"},
    {DayState::done, u"done"},
}};

constexpr std::array<std::pair<ManualState, const char16_t*>, 3> kManualRaw{{
    {ManualState::work, u"work"},
    {ManualState::rest, u"rest"},
    {ManualState::away, u"away"},
}};

template <typename Table, typename Enum> QString nameOf(const Table& table, Enum value)
{
    for (const auto& [e, name] : table)
        if (e == value)
            return QString::fromUtf16(name);
    return {};
}

template <typename Enum, typename Table>
std::optional<Enum> valueOf(const Table& table, const QString& name)
{
    for (const auto& [e, n] : table)
        if (name == QStringView(n))
            return e;
    return std::nullopt;
}

} // namespace

QString dayStateName(DayState state)
{
    return nameOf(kDayStateNames, state);
}

QString rawValue(ManualState state)
{
    return nameOf(kManualRaw, state);
}

std::optional<ManualState> manualStateFromRaw(const QString& raw)
{
    return valueOf<ManualState>(kManualRaw, raw);
}
