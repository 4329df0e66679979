// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonArray>
#include <QString>

#include <optional>

// "analytics-queue.json": event records whose post failed, oldest first, at most 500. Touched only
// on the worker thread.
namespace Analytics::QueueFile {

inline constexpr qsizetype cap = 500;
// A full queue of ordinary events is well under 1 MiB.
inline constexpr qint64 maxBytes = 4 * 1024 * 1024;

// $XDG_DATA_HOME/tockwork/analytics-queue.json, its folder created; none when the system names no
// data folder.
std::optional<QString> path();
// The newest `cap` records, or none when the file is missing, unreadable, larger than `maxBytes`
// or not a JSON array.
std::optional<QJsonArray> read(const QString& path);
// Replaces the file atomically: a crash leaves the old or the new content, never a torn one.
bool write(const QString& path, const QJsonArray& records);
// Adds `batch` after what the file holds (a corrupt file counts as empty) and keeps the newest
// `cap` records.
bool append(const QString& path, const QJsonArray& batch);

} // namespace Analytics::QueueFile
