// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The lookup key into the known services: lower-cased, trimmed of spaces and tabs.
QString serviceKey(const QString& name);
// The host part of an address without "www." / "m.", or none.
std::optional<QString> hostOf(const QString& address);
// The form in which a typed entry joins the distraction list.
QString normalizeEntry(const QString& entry);

// `text` without the spaces and tabs at either end (other white space is kept: a line break
// separates entries, it does not pad them).
QStringView trimHorizontal(QStringView text);
