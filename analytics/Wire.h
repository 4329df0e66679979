// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QString>

// The ingestion API's wire format: a form post whose one field "data" holds the Base64 of a JSON
// array of records.
namespace Analytics::Wire {

// "data=" + Base64 (padded, no line breaks) with "+", "/" and "=" percent-encoded, so the body
// holds letters, digits and "%2B", "%2F", "%3D" only.
QByteArray formBody(const QJsonArray& batch);
// A random UUID in upper-case 8-4-4-4-12 form.
QString newUuid();

} // namespace Analytics::Wire
