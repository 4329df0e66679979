// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The editor's working copy of the distraction list. Entries keep the case they were typed in;
// two entries are the same when their lower-cased forms are equal.
namespace DistractionEntries {

// The stored text ("wolluApps") as the editor lists it: split at "," and line breaks, each piece
// trimmed of spaces and tabs, empty pieces dropped, order and duplicates kept.
QStringList fromStored(const QString& raw);
// The stored form of the list.
QString toStored(const QStringList& entries);

bool contains(const QStringList& entries, const QString& name);

// What a manual entry adds: the typed text split at commas and line breaks (the stored form
// joins entries with ",", so an entry can never hold one), each piece normalised to a host when
// it is an address, without blanks, pieces already in `existing` and repeats.
QStringList typedEntries(const QString& typed, const QStringList& existing);

} // namespace DistractionEntries
