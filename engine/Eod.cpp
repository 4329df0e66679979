#include "engine/Eod.h"

#include "engine/DayKey.h"
#include "engine/SettingsKeys.h"
#include "engine/Store.h"

namespace K = SettingsKeys;

namespace Eod {

void choose(const QString& choice)
{
    Store& ud = Store::standard();
    ud.set(K::eodChoice, choice);
    ud.set(K::eodDay, today());
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

} // namespace Eod
