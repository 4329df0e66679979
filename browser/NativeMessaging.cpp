// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/NativeMessaging.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <cstring>

namespace NativeMessaging {

QByteArray encode(const QJsonObject& message)
{
    const QByteArray json = QJsonDocument(message).toJson(QJsonDocument::Compact);
    const auto length = quint32(json.size());
    QByteArray framed(sizeof length, Qt::Uninitialized);
    std::memcpy(framed.data(), &length, sizeof length);
    return framed + json;
}

void Decoder::feed(QByteArrayView bytes)
{
    if (!broken_)
        buffer_.append(bytes);
}

std::optional<Item> Decoder::next()
{
    if (broken_)
        return *broken_;
    quint32 length = 0;
    if (buffer_.size() < qsizetype(sizeof length))
        return std::nullopt;
    std::memcpy(&length, buffer_.constData(), sizeof length);
    if (length > kMaxMessageBytes) {
        broken_ = Oversized{length};
        buffer_.clear();
        return *broken_;
    }
    if (buffer_.size() < qsizetype(sizeof length + length))
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(buffer_.mid(sizeof length, length), &error);
    buffer_.remove(0, sizeof length + length);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return Garbage{};
    return document.object();
}

} // namespace NativeMessaging
