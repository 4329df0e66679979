// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The distraction list, the day's slacking seconds and the two slacking switches, all kept in
// the user-defaults store.
namespace Wollu {

extern const QString defaultApps;

QString appsRaw();
void setApps(const QString& text);
QStringList apps();
QStringList tokens(const QString& entry);
QStringList allTokens();

bool isDistraction(const std::optional<QString>& appName);
bool matchesURL(const std::optional<QString>& url);

void ensureDay();
double seconds();
void add(double seconds);
void reset();

bool disabled();
void setDisabled(bool value);
bool hidden();
void toggleHidden();

} // namespace Wollu
