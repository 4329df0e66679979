#pragma once

#include <QString>

#include <functional>

namespace Analytics {

// Values only the running application can supply. The application sets the ones it knows at
// launch (screen count from the GUI, login item from its autostart code); unset ones fall back to
// what QtCore can tell.
struct Providers
{
    std::function<int()> screenCount; // default 0
    std::function<bool()>
        isLoginItem;                 // default: $XDG_CONFIG_HOME/autostart/tockwork.desktop exists
    std::function<QString()> locale; // default QLocale().name()
    std::function<QString()> timeZone;   // default QTimeZone::systemTimeZoneId()
    std::function<QString()> osVersion;  // default: the kernel (Linux) or product version, x.y.z
    std::function<QString()> appVersion; // default QCoreApplication::applicationVersion()
    std::function<QString()> appBuild;   // default "unknown"
};

// Call on the main thread (the providers are called there, and at each flush timer tick).
void setProviders(Providers providers);

// "x.y.z" from the leading numbers of a version text; missing parts are 0.
QString normalizedVersion(const QString& text);

} // namespace Analytics
