// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ColorScheme.h"

struct ColorScheme::Impl
{};

ColorScheme::ColorScheme(const QString&, QObject* parent) : QObject(parent)
{}

ColorScheme::~ColorScheme() = default;

std::optional<bool> ColorScheme::prefersDark() const
{
    return std::nullopt;
}
