// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonObject>

#include <optional>
#include <variant>

// The browsers' native-messaging framing: each message is a 32-bit length in the machine's own
// byte order followed by that many bytes of UTF-8 JSON.
namespace NativeMessaging {

// Far above any address the extension sends (it cuts them at 8 KiB); anything larger is not ours.
inline constexpr quint32 kMaxMessageBytes = 64 * 1024;

QByteArray encode(const QJsonObject& message);

// A message that is not a JSON object: skipped, the stream goes on.
struct Garbage
{};
// A length beyond kMaxMessageBytes: what follows cannot be trusted to be framed, so the stream
// must be given up.
struct Oversized
{
    quint32 length = 0;
};
using Item = std::variant<QJsonObject, Garbage, Oversized>;

// Cuts a byte stream into messages as the bytes arrive.
class Decoder final
{
public:
    void feed(QByteArrayView bytes);
    // The next complete item, none while more bytes are needed. After Oversized, always Oversized.
    std::optional<Item> next();

private:
    QByteArray buffer_;
    std::optional<Oversized> broken_;
};

} // namespace NativeMessaging
