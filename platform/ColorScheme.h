// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

// The desktop's light or dark preference where the desktop states one: the XDG desktop portal's
// "color-scheme" in the "org.freedesktop.appearance" namespace, followed through its
// SettingChanged signal. Qt 6.4 neither asks for it nor tells when it changes.
class ColorScheme final : public QObject
{
    Q_OBJECT
public:
    // `busAddress` empty: the session bus.
    explicit ColorScheme(const QString& busAddress = QString(), QObject* parent = nullptr);
    ~ColorScheme() override;

    // True for dark, false for light; none while unknown or when the desktop has no preference
    // (the palette decides then).
    std::optional<bool> prefersDark() const;

Q_SIGNALS:
    void changed();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
