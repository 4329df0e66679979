// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FrontmostApp.h"

#include <QString>
#include <QStringList>

#include <optional>

// How the window in front is seen by the distraction list.
namespace FrontApp {

// The browser the window belongs to, by its WM_CLASS.
std::optional<QString> browserName(const FrontWindow& window);

// The names the distraction list is matched against, best first: the desktop entry's name, the
// WM_CLASS class and instance, the program's file name. Names shorter than 3 characters match
// far too much and are left out; a browser is known by its desktop entry's name only (its class
// "naver-whale" is not the site 네이버).
QStringList nameCandidates(const FrontWindow& window);

// The first candidate the distraction list holds, none when it holds none.
std::optional<QString> distractingName(const FrontWindow& window);

// Without the extension, the window title stands in for the address: "Page - Site - Browser".
// After the browser's own name, the last " - " or " — " segment must equal a listed site's name
// or token as a whole. The result is the analytics label of the site matched.
std::optional<QString> siteLabelFromTitle(const QString& title, const QString& browser);

} // namespace FrontApp
