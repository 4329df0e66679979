// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/QueueFile.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

namespace Analytics::QueueFile {

std::optional<QString> path()
{
    // GenericDataLocation is $XDG_DATA_HOME (~/.local/share); AppDataLocation would add the
    // organisation and application names a second time.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return std::nullopt;
    const QString folder = base + QStringLiteral("/tockwork");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/analytics-queue.json");
}

namespace {

QJsonArray newest(const QJsonArray& records)
{
    if (records.size() <= cap)
        return records;
    QJsonArray kept;
    for (qsizetype i = records.size() - cap; i < records.size(); ++i)
        kept.append(records.at(i));
    return kept;
}

} // namespace

std::optional<QJsonArray> read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The file is ours, but anyone can write it: one that could not have come from us is not
    // read at all, so it cannot cost more work than a full queue.
    if (file.size() > maxBytes) {
        qWarning("tockwork: %s is larger than any analytics queue; it is not sent",
                 qPrintable(path));
        return std::nullopt;
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    return newest(doc.array());
}

bool write(const QString& path, const QJsonArray& records)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(records).toJson(QJsonDocument::Compact));
    return file.commit();
}

bool append(const QString& path, const QJsonArray& batch)
{
    QJsonArray records = read(path).value_or(QJsonArray());
    for (const QJsonValue& record : batch)
        records.append(record);
    return write(path, newest(records));
}

} // namespace Analytics::QueueFile
