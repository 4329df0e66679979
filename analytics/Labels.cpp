// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Labels.h"

#include "slacking/Hosts.h"
#include "slacking/KnownServices.h"

#include <QList>

#include <algorithm>

namespace Analytics {

namespace {

struct ServiceTokens
{
    QString key;
    QStringList tokens; // lower case, table order
};

// KNOWN_SERVICES in a fixed order (by key), so that a host matching two services gets the same
// label in every run.
const QList<ServiceTokens>& servicesInOrder()
{
    static const QList<ServiceTokens> services = [] {
        QList<ServiceTokens> list;
        const auto& known = KNOWN_SERVICES();
        for (auto it = known.begin(); it != known.end(); ++it) {
            QStringList tokens;
            for (const QString& token : it->tokens)
                if (!token.isEmpty())
                    tokens.push_back(token.toLower());
            if (!tokens.isEmpty())
                list.push_back({it.key(), tokens});
        }
        std::sort(list.begin(), list.end(),
                  [](const ServiceTokens& a, const ServiceTokens& b) { return a.key < b.key; });
        return list;
    }();
    return services;
}

bool tokenMatchesHost(const QString& token, const QString& host)
{
    if (host == token)
        return true;
    if (host.size() > token.size() && host.endsWith(token) &&
        host.at(host.size() - token.size() - 1) == QLatin1Char('.'))
        return true;
    // A dotted token names a domain and only matches at a label boundary; a plain word may
    // stand anywhere in the host ("youtube" in "music.youtube.com" or "youtube-nocookie.com").
    return !token.contains(QLatin1Char('.')) && host.contains(token);
}

} // namespace

QString distractionLabel(const QString& entryName)
{
    const auto& known = KNOWN_SERVICES();
    const auto it = known.find(serviceKey(entryName));
    if (it != known.end() && !it->tokens.isEmpty())
        return it->tokens.first().toLower();
    return QStringLiteral("custom");
}

QString distractionLabelForURL(const std::optional<QString>& address)
{
    if (!address)
        return QStringLiteral("custom");
    const std::optional<QString> host = hostOf(*address);
    if (!host || host->isEmpty())
        return QStringLiteral("custom");
    for (const ServiceTokens& service : servicesInOrder()) {
        for (const QString& token : service.tokens) {
            if (tokenMatchesHost(token, *host))
                return service.tokens.first();
        }
    }
    return QStringLiteral("custom");
}

} // namespace Analytics
