// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ColorScheme.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QUuid>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kNamespace = QStringLiteral("org.freedesktop.appearance");
const QString kKey = QStringLiteral("color-scheme");
// A portal that is not running must not hold up the start: D-Bus activation can take long.
constexpr int kReadTimeoutMs = 2000;

// Read answers a variant inside a variant (portal versions before 2); either way, the number.
QVariant unwrapped(QVariant value)
{
    for (int depth = 0; depth < 4 && value.canConvert<QDBusVariant>() &&
                        value.metaType() == QMetaType::fromType<QDBusVariant>();
         ++depth)
        value = value.value<QDBusVariant>().variant();
    return value;
}

// 1 prefers dark, 2 prefers light, 0 (and anything else) states no preference.
std::optional<bool> fromScheme(const QVariant& value)
{
    bool ok = false;
    const uint scheme = unwrapped(value).toUInt(&ok);
    if (!ok)
        return std::nullopt;
    if (scheme == 1)
        return true;
    if (scheme == 2)
        return false;
    return std::nullopt;
}

// Receives the portal's signal by slot name and passes on the colour scheme's changes only.
class SettingRelay final : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    void colourSchemeChanged(const QVariant& value);

public Q_SLOTS:
    void settingChanged(const QString& nameSpace, const QString& key, const QDBusVariant& value)
    {
        if (nameSpace == kNamespace && key == kKey)
            Q_EMIT colourSchemeChanged(value.variant());
    }
};

} // namespace

struct ColorScheme::Impl
{
    QDBusConnection bus{QString()};
    QString privateName;
    std::optional<bool> dark;
};

ColorScheme::ColorScheme(const QString& busAddress, QObject* parent)
    : QObject(parent), d(std::make_unique<Impl>())
{
    if (busAddress.isEmpty()) {
        d->bus = QDBusConnection::sessionBus();
    } else {
        d->privateName = QStringLiteral("tockwork-colour-scheme-") + QUuid::createUuid().toString();
        d->bus = QDBusConnection::connectToBus(busAddress, d->privateName);
    }
    if (!d->bus.isConnected())
        return;
    // QtDBus takes D-Bus signals only by slot name, so a lambda goes through a small relay.
    auto* relay = new SettingRelay(this);
    // QtDBus looks the slot up by its exact, normalised signature (a leading "1" marks a slot).
    qRegisterMetaType<QDBusVariant>(); // looked up by name when the slot is matched
    const QByteArray slot =
        "1" + QMetaObject::normalizedSignature("settingChanged(QString, QString, QDBusVariant)");
    d->bus.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), relay,
                   slot.constData());
    connect(relay, &SettingRelay::colourSchemeChanged, this, [this](const QVariant& value) {
        const std::optional<bool> dark = fromScheme(value);
        if (dark == d->dark)
            return;
        d->dark = dark;
        Q_EMIT changed();
    });

    QDBusMessage read =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
    read << kNamespace << kKey;
    auto* pending = new QDBusPendingCallWatcher(d->bus.asyncCall(read, kReadTimeoutMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusMessage reply = call->reply();
                if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
                    return;
                const std::optional<bool> dark = fromScheme(reply.arguments().constFirst());
                if (dark == d->dark)
                    return;
                d->dark = dark;
                Q_EMIT changed();
            });
}

ColorScheme::~ColorScheme()
{
    if (!d->privateName.isEmpty())
        QDBusConnection::disconnectFromBus(d->privateName);
}

std::optional<bool> ColorScheme::prefersDark() const
{
    return d->dark;
}

#include "ColorScheme.moc"
