// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Platform.h"
#include "analytics/Environment.h"

#include <QCoreApplication>
#include <QLocale>
#include <QMutex>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTimeZone>

#include <optional>

namespace Analytics {

namespace {

QMutex g_mutex;
Providers g_providers;
std::optional<detail::Environment> g_environment;

QString defaultOsVersion()
{
    return systemVersion(OsRelease::readSystem(), QSysInfo::kernelVersion());
}

QString defaultOsName()
{
#if defined(Q_OS_LINUX)
    return systemName(OsRelease::readSystem());
#else
    return QSysInfo::kernelType();
#endif
}

QString defaultAppVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("unknown") : version;
}

template <typename T, typename Fallback>
T ask(const std::function<T()>& provider, Fallback fallback)
{
    return provider ? provider() : fallback();
}

detail::Environment readEnvironment(const Providers& p)
{
    detail::Environment env;
    env.screenCount = ask(p.screenCount, [] { return 0; });
    env.isLoginItem = ask(p.isLoginItem, [] { return false; });
    env.locale = ask(p.locale, [] { return QLocale().name(); });
    env.timeZone = ask(p.timeZone, [] { return QString::fromUtf8(QTimeZone::systemTimeZoneId()); });
    env.osVersion = ask(p.osVersion, defaultOsVersion);
    env.osName = defaultOsName();
    env.appVersion = ask(p.appVersion, defaultAppVersion);
    env.appBuild = ask(p.appBuild, [] { return QStringLiteral("unknown"); });
    if (env.appVersion.isEmpty())
        env.appVersion = QStringLiteral("unknown");
    if (env.appBuild.isEmpty())
        env.appBuild = QStringLiteral("unknown");
    return env;
}

} // namespace

QString normalizedVersion(const QString& text)
{
    static const QRegularExpression leading(
        QStringLiteral("^\\s*(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const QRegularExpressionMatch match = leading.match(text);
    QStringList parts;
    for (int i = 1; i <= 3; ++i) {
        const QString part = match.hasMatch() ? match.captured(i) : QString();
        // Through a number so "04" reads 4; absurdly long digit runs read 0 rather than overflow.
        bool ok = false;
        const qulonglong value = part.toULongLong(&ok);
        parts.push_back(QString::number(ok ? value : 0));
    }
    return parts.join(QLatin1Char('.'));
}

QString systemVersion(const std::optional<OsRelease::Release>& release, const QString& kernel)
{
    const QString id = release ? release->versionId : QString();
    // Debian testing says nothing, Arch "rolling", some images "n/a".
    if (!id.isEmpty() && id.front().isDigit())
        return normalizedVersion(id);
    return normalizedVersion(kernel);
}

QString systemName(const std::optional<OsRelease::Release>& release)
{
    return release && !release->name.isEmpty() ? release->name : QStringLiteral("Linux");
}

void setProviders(Providers providers)
{
    const detail::Environment env = readEnvironment(providers);
    QMutexLocker lock(&g_mutex);
    g_providers = std::move(providers);
    g_environment = env;
}

namespace detail {

Environment environment()
{
    QMutexLocker lock(&g_mutex);
    if (!g_environment)
        g_environment = readEnvironment(g_providers);
    return *g_environment;
}

void refreshEnvironment()
{
    Providers providers;
    {
        QMutexLocker lock(&g_mutex);
        providers = g_providers;
    }
    const Environment env = readEnvironment(providers);
    QMutexLocker lock(&g_mutex);
    g_environment = env;
}

} // namespace detail

} // namespace Analytics
