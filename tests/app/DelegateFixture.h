// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analytics/Analytics.h"
#include "analytics/Testing.h"
#include "app/AppDelegate.h"
#include "engine/Preview.h"
#include "engine/SettingsKeys.h"
#include "engine/Store.h"
#include "render/Resources.h"
#include "ui/panel/QuitDialog.h"
#include "ui/tray/TrayPlatform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QMenu>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Sandbox.h"
#include "TestServer.h"
#include "support/WaitFor.h"

struct SilentTray final : TrayPlatform
{
    void setSprite(const TraySprite&) override {}
    void setToolTip(const QString&, const QString&) override {}
    void setMenu(QMenu*) override {}
    void setCallbacks(TrayCallbacks) override {}
};

// The whole application as the user meets it, on a private store and home, with a tray that
// draws nothing and the analytics library aimed at a local server.
class Delegate : public testing::Test
{
public:
    void SetUp() override
    {
        sandbox.useAsHome();
        Resources::setBundleDir(sandbox.dir()); // no art: nothing to animate
        Analytics::Testing::reset();
        Analytics::Testing::setBaseUrl(server.baseUrl());
        Analytics::Testing::setFlushPeriodMs(50);
        // A salary is set: a first launch without one opens the settings as well.
        Store::standard().set(SettingsKeys::monthlySalaryWon.key, 3'000'000);
        Store::standard().flush();
    }
    void TearDown() override
    {
        delegate.reset();
        setNextQuitAnswer(std::nullopt);
        // A "--demo" or "--state" launch leaves these for the whole process.
        Preview::demoMode = false;
        Preview::demoState.reset();
        Analytics::Testing::reset();
    }

    AppDelegate& launch(const QStringList& args = {QStringLiteral("tockwork")})
    {
        delegate = std::make_unique<AppDelegate>(std::make_unique<SilentTray>(),
                                                 [](const QString&) { return std::nullopt; });
        delegate->applicationDidFinishLaunching(args);
        return *delegate;
    }

    // Every event tracked so far, in order, once the library has sent them all.
    QJsonArray events()
    {
        Analytics::flush();
        EXPECT_TRUE(waitFor([] {
            return Analytics::Testing::bufferedCount() == 0 &&
                   Analytics::Testing::inFlightCount() == 0;
        }));
        return server.records();
    }
    // The properties of every event called `name`, in order.
    QList<QJsonObject> eventsNamed(const char* name)
    {
        QList<QJsonObject> found;
        for (const QJsonValue& e : events())
            if (e[QStringLiteral("event")].toString() == QLatin1String(name))
                found << e[QStringLiteral("properties")].toObject();
        return found;
    }

    QString autostartPath() const
    {
        return sandbox.filePath(QStringLiteral("config/autostart/tockwork.desktop"));
    }

    StoreSandbox sandbox;
    // A Wednesday in Seoul (the test's TZ) during working hours of the default schedule.
    static inline const QDate today{2025, 3, 12};
    FrozenClock clock{today, QTime(10, 0)};
    TestServer server;
    std::unique_ptr<AppDelegate> delegate;
};
