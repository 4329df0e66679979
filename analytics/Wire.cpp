// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Wire.h"

#include <QJsonDocument>
#include <QUuid>

namespace Analytics::Wire {

QByteArray formBody(const QJsonArray& batch)
{
    const QByteArray base64 = QJsonDocument(batch).toJson(QJsonDocument::Compact).toBase64();
    QByteArray body;
    body.reserve(5 + base64.size() + base64.size() / 8);
    body.append("data=");
    for (const char c : base64) {
        switch (c) {
        case '+':
            body.append("%2B");
            break;
        case '/':
            body.append("%2F");
            break;
        case '=':
            body.append("%3D");
            break;
        default:
            body.append(c);
        }
    }
    return body;
}

QString newUuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

} // namespace Analytics::Wire
