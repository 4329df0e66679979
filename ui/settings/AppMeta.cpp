// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/AppMeta.h"

#include "slacking/Hosts.h"
#include "slacking/KnownServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>
#include <QTextStream>

namespace {

RunningAppsSource& runningAppsSource()
{
    static RunningAppsSource source = [] { return RunningApps::list(); };
    return source;
}

QImage badgeCanvas()
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A mid grey that stays visible on light and dark rows alike.
const QColor badgeInk(128, 128, 128);

} // namespace

void setRunningAppsSource(RunningAppsSource source)
{
    runningAppsSource() = std::move(source);
}

QList<RunningApp> runningApps()
{
    return runningAppsSource() ? runningAppsSource()() : QList<RunningApp>();
}

QIcon siteFallbackIcon()
{
    if (QIcon theme = QIcon::fromTheme(QStringLiteral("applications-internet")); !theme.isNull())
        return theme;
    QImage image = badgeCanvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(badgeInk, 4));
    p.setBrush(Qt::NoBrush);
    const QRectF globe(6, 6, 52, 52);
    p.drawEllipse(globe);
    p.drawEllipse(QRectF(20, 6, 24, 52));
    p.drawLine(QPointF(32, 6), QPointF(32, 58));
    p.drawLine(QPointF(6, 32), QPointF(58, 32));
    p.drawLine(QPointF(11, 19), QPointF(53, 19));
    p.drawLine(QPointF(11, 45), QPointF(53, 45));
    p.end();
    return QIcon(QPixmap::fromImage(image));
}

QIcon appFallbackIcon(const QString& entry)
{
    QImage image = badgeCanvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(badgeInk, 3, Qt::DashLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 6, 52, 52), 12, 12);
    const QString trimmed = entry.trimmed();
    if (!trimmed.isEmpty()) {
        // The first user-perceived character, so a surrogate pair is never split.
        const QString initial =
            trimmed.at(0).isHighSurrogate() ? trimmed.left(2) : trimmed.left(1).toUpper();
        QFont font;
        font.setPixelSize(30);
        font.setBold(true);
        p.setFont(font);
        p.setPen(badgeInk);
        p.drawText(QRectF(6, 6, 52, 52), Qt::AlignCenter, initial);
    }
    p.end();
    return QIcon(QPixmap::fromImage(image));
}

AppMeta appMeta(const QString& entry)
{
    return appMeta(entry, entry.isEmpty() ? QList<RunningApp>() : runningApps());
}

AppMeta appMeta(const QString& entry, const QList<RunningApp>& running)
{
    const QString lower = entry.toLower();
    QIcon icon;
    bool isApp = false;

    if (!lower.isEmpty()) {
        for (const RunningApp& app : running) {
            const QString n = app.name.toLower();
            if (n.isEmpty() || app.icon.isNull())
                continue;
            if (n.contains(lower) || lower.contains(n)) {
                icon = app.icon;
                isApp = true;
                break;
            }
        }
    }
    if (!isApp) {
        if (const auto installed = findInstalledApp(entry)) {
            icon = installed->icon;
            isApp = true;
        }
    }

    const auto& known = KNOWN_SERVICES();
    const auto record = known.constFind(serviceKey(entry));
    const bool found = record != known.constEnd();

    AppMeta meta;
    // An unknown word without a dot ("웹툰") is a name that matches apps and addresses containing
    // it, not a site: guessing "웹툰.com" would show and fetch an icon of a made-up domain.
    const bool bareName = !found && !isApp && !lower.isEmpty() && !lower.contains(u'.');
    if (bareName)
        meta.kind = QStringLiteral("이름");
    else
        meta.kind =
            found ? record->kind : (isApp ? QStringLiteral("앱") : QStringLiteral("사이트"));
    const bool site = meta.kind.contains(QStringLiteral("사이트"));
    if (icon.isNull())
        icon = site ? siteFallbackIcon() : appFallbackIcon(entry);
    meta.icon = icon;
    if (site) {
        QString domain = found && !record->tokens.isEmpty() ? record->tokens.first() : lower;
        if (!domain.contains(u'.'))
            domain += QStringLiteral(".com");
        meta.detail = domain;
    } else {
        meta.detail = bareName ? QStringLiteral("이름") : QStringLiteral("앱");
    }
    return meta;
}
