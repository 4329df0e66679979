// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Eod.h"

#include "engine/Clock.h"
#include "engine/DayKey.h"
#include "engine/SettingsKeys.h"
#include "engine/Store.h"

#include <cmath>

namespace K = SettingsKeys;

namespace Eod {

void choose(const QString& choice)
{
    Store& ud = Store::standard();
    ud.set(K::eodChoice, choice);
    ud.set(K::eodDay, today());
    ud.set(K::eodAt, Clock::now());
    ud.flush();
}

bool chosenToday()
{
    return Store::standard().text(K::eodDay) == today();
}

bool leftToday()
{
    return chosenToday() && Store::standard().text(K::eodChoice) == QStringLiteral("left");
}

std::optional<double> leftAt()
{
    if (!leftToday())
        return std::nullopt;
    const Store& ud = Store::standard();
    const double at = ud.contains(K::eodAt) ? ud.real(K::eodAt) : 0;
    if (!std::isfinite(at) || at <= 0)
        return std::nullopt;
    return at;
}

} // namespace Eod
