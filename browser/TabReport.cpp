#include "browser/TabReport.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <unistd.h>

namespace TabReports {

QByteArray encode(const TabReport& report)
{
    const QJsonObject object{{QStringLiteral("browser"), report.browser},
                             {QStringLiteral("pid"), report.pid},
                             {QStringLiteral("url"), report.url}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<TabReport> decode(const QByteArray& line)
{
    if (line.size() > kMaxLineBytes)
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(line);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue browser = object.value(QStringLiteral("browser"));
    const QJsonValue url = object.value(QStringLiteral("url"));
    if (!browser.isString() || browser.toString().isEmpty() || !url.isString())
        return std::nullopt;
    const double pid = object.value(QStringLiteral("pid")).toDouble(0);
    return TabReport{browser.toString(), pid >= 1 && pid < 4194305 ? qint64(pid) : 0,
                     url.toString()};
}

QString socketPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(QStringLiteral("tockwork-browser.sock"));
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("tockwork-browser-%1.sock").arg(::getuid()));
}

} // namespace TabReports
