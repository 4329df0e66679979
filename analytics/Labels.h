// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Distraction labels for analytics: every name of a well-known service reports that service's
// first token ("유튜브", "youtube", "유튭" -> "youtube"); anything else is "custom", so what a
// user typed never leaves the machine.
namespace Analytics {

QString distractionLabel(const QString& entryName);
QString distractionLabelForURL(const std::optional<QString>& address);

} // namespace Analytics
