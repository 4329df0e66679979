// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analytics/Analytics.h"
#include "analytics/Testing.h"
#include "engine/Store.h"
#include "ui/settings/AddWolluWindowController.h"
#include "ui/settings/AppMeta.h"
#include "ui/settings/FaviconLoader.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/toolkit/GlassWindow.h"

#include "Sandbox.h"
#include "SettingsControls.h"
#include "TestServer.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Each case: its own home (store, cache), a clock frozen on a working Tuesday, the analytics
// library aimed at a local server, a chosen list of running applications and no installed ones,
// and favicon fetches aimed at a closed port so no row ever reaches the internet.
class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        home_.useAsHome();
        clock_.at(QDate(2026, 3, 10), QTime(10, 0));
        Analytics::Testing::reset();
        Analytics::Testing::setBaseUrl(server_.baseUrl());
        Analytics::Testing::setFlushPeriodMs(50);
        setApplicationDirs({home_.filePath(QStringLiteral("no-apps"))});
        setRunningAppsSource([this] { return running_; });
        FaviconTesting::reset();
        FaviconTesting::useServer(1, QSslCertificate());
    }
    void TearDown() override
    {
        Analytics::Testing::reset();
        setRunningAppsSource({});
        setApplicationDirs({});
        FaviconTesting::reset();
    }

    // Every event tracked so far, in order, once the library has sent them all.
    QJsonArray events()
    {
        Analytics::flush();
        EXPECT_TRUE(waitFor([] {
            return Analytics::Testing::bufferedCount() == 0 &&
                   Analytics::Testing::inFlightCount() == 0;
        }));
        return server_.records();
    }
    QStringList eventNames()
    {
        QStringList names;
        for (const QJsonValue& e : events())
            names << e[QStringLiteral("event")].toString();
        return names;
    }

    QByteArray storeFile() const { return StoreSandbox::readFile(home_.storePath()); }
    static void seed(const QString& key, const QVariant& value)
    {
        Store::standard().set(key, value);
        Store::standard().flush();
    }

    std::unique_ptr<SettingsWindowController> openWindow(InfoBlock::LinesProvider infoLines = {})
    {
        auto controller = std::make_unique<SettingsWindowController>(std::move(infoLines));
        controller->showCentered();
        return controller;
    }
    static int heightOf(const SettingsWindowController& c) { return c.window()->height(); }

    StoreSandbox home_;
    FrozenClock clock_;
    TestServer server_;
    QList<RunningApp> running_;
};
