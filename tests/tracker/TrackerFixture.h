// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Clock.h"
#include "slacking/Wollu.h"
#include "tracker/WolluProbes.h"
#include "tracker/WolluTracker.h"

#include <QList>
#include <QPair>
#include <QVariantMap>

#include <gtest/gtest.h>

#include "Sandbox.h"

// The desktop's answers, set by the test; tab reads wait until the test delivers them.
struct ScriptedProbes final : WolluProbes
{
    bool saver = false;
    bool away = false; // locked or display asleep
    std::optional<double> idle = 0.0;
    bool inhibited = false;
    std::optional<FrontWindow> front;
    std::optional<QString> tabURL;
    QList<std::function<void()>> reads;

    bool screenSaverOn() override { return saver; }
    void clearScreenSaver() override { saver = false; }
    bool awayByScreen() override { return saver || away; }
    std::optional<double> idleSeconds() override { return idle; }
    bool idleInhibited() override { return inhibited; }
    std::optional<FrontWindow> frontWindow() override { return front; }
    void activeTabURLAsync(const QString&, const FrontWindow&,
                           std::function<void(std::optional<QString>)> done) override
    {
        reads.append([done, url = tabURL] { done(url); });
    }
    // Answers the oldest outstanding read.
    void deliver() { reads.takeFirst()(); }
};

inline FrontWindow app(const QString& windowClass, const QString& appName = {},
                       const QString& title = {})
{
    FrontWindow w;
    w.windowClass = windowClass;
    w.instance = windowClass.toLower();
    w.appName = appName;
    w.title = title;
    w.pid = 4242;
    return w;
}

// A tracker over scripted probes, its own store, and a frozen clock on a working Wednesday in
// Seoul (09:00-18:00, lunch 12:00-13:00). Events are collected instead of sent.
class TrackerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        clock.at(QDate(2025, 3, 12), QTime(10, 0));
        Wollu::setApps(QStringLiteral("카카오톡,유튜브,디스코드,슬랙,네이버"));
        tracker =
            std::make_unique<WolluTracker>(probes, [this](const QString& e, const QVariantMap& p) {
                events.append({e, p});
            });
    }

    // Moves the clock on by `dt` and polls.
    void pollAfter(double dt)
    {
        Clock::advance(dt);
        tracker->pollWollu();
    }
    QString runReason() const
    {
        const auto run = tracker->openRun();
        return run ? run->reason + u'/' + run->target : QString();
    }

    StoreSandbox sandbox;
    FrozenClock clock;
    ScriptedProbes probes;
    QList<QPair<QString, QVariantMap>> events;
    std::unique_ptr<WolluTracker> tracker;
};
