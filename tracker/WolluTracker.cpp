// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracker/WolluTracker.h"

#include "analytics/Analytics.h"
#include "analytics/Events.h"
#include "analytics/Labels.h"
#include "engine/Clock.h"
#include "engine/Dinner.h"
#include "engine/Eod.h"
#include "engine/Pause.h"
#include "engine/Status.h"
#include "slacking/Wollu.h"
#include "tracker/FrontApp.h"
#include "tracker/WolluProbes.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

namespace {

bool countingTime(DayState state)
{
    return state == DayState::working || state == DayState::overtime;
}

} // namespace

WolluTracker::WolluTracker(WolluProbes& probes, Track track, QObject* parent)
    : QObject(parent), probes_(probes), track_(std::move(track)), lastPoll_(Clock::now())
{
    if (!track_)
        track_ = [](const QString& event, const QVariantMap& properties) {
            Analytics::track(event, properties);
        };
}

WolluTracker::~WolluTracker() = default;

std::optional<WolluTracker::Run> WolluTracker::openRun() const
{
    if (run_.start <= 0)
        return std::nullopt;
    return run_;
}

void WolluTracker::pollWollu()
{
    const double now = Clock::now();
    const double dt = now - lastPoll_;
    lastPoll_ = now;
    // A gap this long is a clock that jumped or a sleep, which the wake accounts for.
    if (!(dt > 0 && dt < kMaxPollGap))
        return;
    if (Wollu::disabled())
        return endWolluRun();
    if (!countingTime(computeStatus(now).state) || Eod::leftToday())
        return endWolluRun();
    // The user's own break is not slacking, whatever is in front.
    if (Pause::state() != ManualState::work)
        return endWolluRun();

    // Without a figure (no source on this desktop) nothing says that input came, and nobody is
    // idle by it: the screensaver and the lock still count as they are announced.
    const std::optional<double> idle = probes_.idleSeconds();
    if (idle && probes_.screenSaverOn() && *idle < kScreenSaverInputSeconds)
        probes_.clearScreenSaver();

    if (probes_.awayByScreen())
        return count(dt, QStringLiteral("away_screen"), QStringLiteral("away"));
    // A call, a presentation or a film holds an inhibitor: quiet hands are not absence then.
    if (idle && *idle >= idleThreshold_ && !probes_.idleInhibited())
        return count(dt, QStringLiteral("idle"), QStringLiteral("idle"));
    const std::optional<FrontWindow> window = probes_.frontWindow();
    if (!window)
        return endWolluRun();
    if (const auto name = FrontApp::distractingName(*window))
        return count(dt, QStringLiteral("app"), Analytics::distractionLabel(*name), *name);
    if (const auto browser = FrontApp::browserName(*window))
        return countBrowser(*browser, *window, dt);
    endWolluRun();
}

void WolluTracker::countBrowser(const QString& browser, const FrontWindow& window, double dt)
{
    if (tabFetch_ != 0 && lastPoll_ - tabFetchStarted_ < kMaxPollGap)
        return; // the previous read is still out: nothing counted, the run stays open
    const quint64 fetch = tabFetch_ = ++tabFetchSerial_;
    tabFetchStarted_ = lastPoll_;
    QPointer<WolluTracker> self(this);
    const QString title = window.title;
    probes_.activeTabURLAsync(browser, window,
                              [self, fetch, title, browser, dt](std::optional<QString> address) {
                                  if (self)
                                      self->finishTabRead(fetch, address, title, browser, dt);
                              });
}

void WolluTracker::finishTabRead(quint64 fetch, const std::optional<QString>& address,
                                 const QString& title, const QString& browser, double dt)
{
    if (fetch != tabFetch_)
        return; // given up on already; a newer read speaks for that time
    tabFetch_ = 0;
    std::optional<QString> label;
    if (address) {
        if (Wollu::matchesURL(address))
            label = Analytics::distractionLabelForURL(address);
    } else {
        // No extension in this browser: the window title is all there is.
        label = FrontApp::siteLabelFromTitle(title, browser);
    }
    if (!label)
        return endWolluRun();
    count(dt, QStringLiteral("site"), *label);
    Q_EMIT updateRequested();
}

void WolluTracker::count(double dt, const QString& reason, const QString& target,
                         const QString& inFront)
{
    Wollu::add(dt);
    noteWolluRun(dt, reason, target);
    Q_EMIT slackingCounted(dt, reason, inFront.isEmpty() ? target : inFront);
}

void WolluTracker::noteWolluRun(double dt, const QString& reason, const QString& target)
{
    if (run_.start > 0 && (run_.reason != reason || run_.target != target))
        endWolluRun();
    if (run_.start <= 0)
        run_ = Run{Clock::now(), 0, reason, target};
    run_.seconds += dt;
}

void WolluTracker::endWolluRun()
{
    if (run_.start <= 0)
        return;
    const Run ended = std::exchange(run_, Run{});
    if (ended.seconds < kMinReportedRun)
        return; // too short to report; its seconds stay in the day's total
    const QTime started = Clock::toLocal(ended.start).time();
    // std::round takes halves away from zero, as every figure sent is rounded.
    track_(
        QString::fromLatin1(Analytics::Event::wolluSession),
        {{QStringLiteral("reason"), ended.reason},
         {QStringLiteral("target"), ended.target},
         {QStringLiteral("duration_seconds"), qint64(std::round(ended.seconds))},
         {QStringLiteral("duration_minutes"), std::round(ended.seconds / 60.0 * 10) / 10},
         {QStringLiteral("started_minute_of_day"), started.hour() * 60 + started.minute()},
         {QStringLiteral("state"), dayStateName(computeStatus(Clock::now()).state)},
         {QStringLiteral("wollu_total_min_today"), qint64(std::round(Wollu::seconds() / 60.0))}});
}

void WolluTracker::willSleep()
{
    sleepStart_ = Clock::now();
}

void WolluTracker::didWake(double suspendedSeconds)
{
    const double now = Clock::now();
    if (sleepStart_ <= 0 && suspendedSeconds > 0)
        sleepStart_ = now - suspendedSeconds;
    if (sleepStart_ <= 0)
        return;
    double slept = sleptWorkSeconds(sleepStart_, now);
    // Dinner is not paid time: the part of the sleep that fell into the running break is not
    // slacking either.
    if (Dinner::eating())
        slept -= std::max(0.0, now - std::max(sleepStart_, Dinner::startEpoch()));
    // Nor is the part that fell into the user's own break.
    if (const double pauseStart = Pause::startEpoch(); pauseStart > 0)
        slept -= std::max(0.0, now - std::max(sleepStart_, pauseStart));
    sleepStart_ = 0;
    lastPoll_ = now;
    tabFetch_ = 0;
    if (!Wollu::disabled() && slept > 0) {
        Wollu::add(slept);
        endWolluRun();
        noteWolluRun(slept, QStringLiteral("system_sleep"), QStringLiteral("sleep"));
        Q_EMIT slackingCounted(slept, QStringLiteral("system_sleep"), QStringLiteral("sleep"));
        endWolluRun();
    }
    Q_EMIT updateRequested();
}
