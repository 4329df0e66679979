// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

struct KnownService
{
    QStringList tokens;
    QString kind; // "사이트", "앱" or "앱, 사이트"
};

// Well-known distraction services by every name a user may type for them. Built once.
const QHash<QString, KnownService>& KNOWN_SERVICES();
