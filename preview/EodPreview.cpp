// SPDX-License-Identifier: GPL-3.0-or-later
#include "preview/EodPreview.h"

#include "engine/SettingsKeys.h"
#include "engine/Store.h"
#include "ui/eod/EndOfDayPrompt.h"

#include <QVariant>

#include <cstdio>
#include <optional>

namespace {

struct SavedValue
{
    QString key;
    std::optional<QVariant> value;
};

SavedValue save(const QString& key)
{
    const Store& store = Store::standard();
    return {key, store.contains(key) ? std::optional(store.object(key)) : std::nullopt};
}

void restore(const SavedValue& saved)
{
    Store& store = Store::standard();
    if (saved.value)
        store.set(saved.key, *saved.value);
    else
        store.remove(saved.key);
}

} // namespace

int runEodPreview()
{
    const SavedValue choice = save(SettingsKeys::eodChoice);
    const SavedValue day = save(SettingsKeys::eodDay);

    EndOfDayPrompt prompt;
    prompt.askAndWait();
    const bool left = Store::standard().text(SettingsKeys::eodChoice) == QStringLiteral("left");
    std::fputs(left ? "선택: 퇴근\n" : "선택: 야근\n", stdout);
    std::fflush(stdout);

    restore(choice);
    restore(day);
    Store::standard().flush();
    return 0;
}
