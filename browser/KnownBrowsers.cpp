// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/KnownBrowsers.h"

using namespace Qt::StringLiterals;

namespace KnownBrowsers {

const QList<KnownBrowser>& all()
{
    // The window classes are those the browsers' own Linux packages set; Chromium-based browsers
    // take theirs from the program name, Firefox names its main window instance "Navigator".
    // A browser's other channels (beta, dev, nightly, ...) run the same program under their own
    // class, so they count as that browser: the native-messaging host, which knows only the
    // program, names them the same.
    static const QList<KnownBrowser> browsers{
        {u"Google Chrome"_s,
         {u"google-chrome"_s, u"google-chrome-stable"_s, u"google-chrome-beta"_s,
          u"google-chrome-unstable"_s, u"google-chrome-canary"_s},
         {u"chrome"_s, u"google-chrome"_s, u"google-chrome-beta"_s, u"google-chrome-unstable"_s,
          u"google-chrome-canary"_s},
         {u"Google Chrome"_s, u"Google Chrome Beta"_s, u"Google Chrome Dev"_s,
          u"Google Chrome Canary"_s}},
        {u"Chromium"_s, {u"chromium"_s, u"chromium-browser"_s}, {u"chromium"_s}, {u"Chromium"_s}},
        {u"Brave Browser"_s,
         {u"brave-browser"_s, u"brave-browser-beta"_s, u"brave-browser-nightly"_s},
         {u"brave"_s, u"brave-browser"_s, u"brave-browser-beta"_s, u"brave-browser-nightly"_s},
         {u"Brave"_s, u"Brave Browser"_s, u"Brave Beta"_s, u"Brave Nightly"_s}},
        {u"Microsoft Edge"_s,
         {u"microsoft-edge"_s, u"microsoft-edge-stable"_s, u"microsoft-edge-beta"_s,
          u"microsoft-edge-dev"_s},
         {u"msedge"_s, u"microsoft-edge"_s, u"microsoft-edge-beta"_s, u"microsoft-edge-dev"_s},
         // Edge writes a zero-width space after "Microsoft" in its titles.
         {u"Microsoft Edge"_s, u"Microsoft\u200b Edge"_s, u"Microsoft Edge Beta"_s,
          u"Microsoft\u200b Edge Beta"_s, u"Microsoft Edge Dev"_s, u"Microsoft\u200b Edge Dev"_s}},
        {u"Whale"_s, {u"naver-whale"_s}, {u"whale"_s}, {u"Whale"_s, u"NAVER Whale"_s}},
        {u"Opera"_s, {u"opera"_s}, {u"opera"_s}, {u"Opera"_s}},
        {u"Vivaldi"_s,
         {u"vivaldi"_s, u"vivaldi-stable"_s, u"vivaldi-snapshot"_s},
         {u"vivaldi-bin"_s, u"vivaldi"_s, u"vivaldi-snapshot"_s},
         {u"Vivaldi"_s}},
        {u"Firefox"_s,
         {u"firefox"_s, u"firefox-esr"_s, u"firefox-aurora"_s, u"firefox-devedition"_s,
          u"firefoxdeveloperedition"_s, u"firefox-developer-edition"_s, u"firefox-nightly"_s,
          u"firefox-trunk"_s},
         {u"firefox"_s, u"firefox-esr"_s, u"firefox-bin"_s, u"firefox-devedition"_s,
          u"firefox-developer-edition"_s, u"firefox-nightly"_s, u"firefox-trunk"_s},
         {u"Mozilla Firefox"_s, u"Firefox"_s, u"Firefox ESR"_s, u"Firefox Developer Edition"_s,
          u"Mozilla Firefox Developer Edition"_s, u"Firefox Nightly"_s,
          u"Mozilla Firefox Nightly"_s}},
    };
    return browsers;
}

std::optional<QString> nameForWindowClass(const QString& windowClass, const QString& instance)
{
    const QString cls = windowClass.toLower();
    const QString inst = instance.toLower();
    for (const KnownBrowser& browser : all()) {
        if (browser.windowClasses.contains(cls) || browser.windowClasses.contains(inst))
            return browser.name;
    }
    return std::nullopt;
}

std::optional<QString> nameForExecutable(const QString& executable)
{
    for (const KnownBrowser& browser : all()) {
        if (browser.executables.contains(executable))
            return browser.name;
    }
    return std::nullopt;
}

const KnownBrowser* byName(const QString& name)
{
    for (const KnownBrowser& browser : all()) {
        if (browser.name == name)
            return &browser;
    }
    return nullptr;
}

} // namespace KnownBrowsers
