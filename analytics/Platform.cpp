#include "analytics/Platform.h"
#include "analytics/Environment.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMutex>
#include <QRegularExpression>
#include <QStandardPaths>
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
#if defined(Q_OS_MACOS)
    return normalizedVersion(QSysInfo::productVersion());
#else
    // A distribution's own version is often missing or not numeric (Debian testing says
    // "n/a"); the kernel always answers with numbers.
    return normalizedVersion(QSysInfo::kernelVersion());
#endif
}

bool defaultIsLoginItem()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return !config.isEmpty() &&
           QFileInfo::exists(config + QStringLiteral("/autostart/tockwork.desktop"));
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
    env.isLoginItem = ask(p.isLoginItem, defaultIsLoginItem);
    env.locale = ask(p.locale, [] { return QLocale().name(); });
    env.timeZone = ask(p.timeZone, [] { return QString::fromUtf8(QTimeZone::systemTimeZoneId()); });
    env.osVersion = ask(p.osVersion, defaultOsVersion);
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
