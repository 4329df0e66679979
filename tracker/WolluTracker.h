// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

class WolluProbes;
struct FrontWindow;

// Decides every poll whether the time since the previous one was slacking ("월루"), adds it to
// the day's total and to the open run (a stretch of polls with the same reason and target), and
// reports each finished run to analytics. Also counts the working time the machine slept through.
// Main thread only.
class WolluTracker final : public QObject
{
    Q_OBJECT
public:
    using Track = std::function<void(const QString& event, const QVariantMap& properties)>;

    struct Run
    {
        double start = 0; // epoch seconds of its first counted poll
        double seconds = 0;
        QString reason;
        QString target;
    };

    // `track` defaults to Analytics::track. The first poll measures from now.
    explicit WolluTracker(WolluProbes& probes, Track track = {}, QObject* parent = nullptr);
    ~WolluTracker() override;

    void pollWollu();
    void noteWolluRun(double dt, const QString& reason, const QString& target);
    void endWolluRun();

    // The machine goes to sleep.
    void willSleep();
    // It woke up. `suspendedSeconds` is how long it slept as the system measured it; it stands
    // in for the start when no will-sleep came before (a sleep found only afterwards).
    void didWake(double suspendedSeconds = 0);

    std::optional<Run> openRun() const;
    double lastPoll() const { return lastPoll_; }
    double sleepStart() const { return sleepStart_; }
    bool tabURLFetching() const { return tabFetch_ != 0; }

    // Seconds without input that count as idle (10 minutes; tests shorten it).
    void setIdleThreshold(double seconds) { idleThreshold_ = seconds; }

    static constexpr double kMaxPollGap = 30;
    static constexpr double kMinReportedRun = 20;
    static constexpr double kScreenSaverInputSeconds = 5;

Q_SIGNALS:
    // Something was counted outside the poll's own call (a tab read, a wake): show it.
    void updateRequested();
    // Seconds just added to the day's slacking, with their reason ("away_screen", "idle", "app",
    // "site", "system_sleep") and what was in front: the app's name as listed, the site's label,
    // "away", "idle" or "sleep". For the day ledger, which stays on this machine.
    void slackingCounted(double seconds, const QString& reason, const QString& target);

private:
    void countBrowser(const QString& browser, const FrontWindow& window, double dt);
    void finishTabRead(quint64 fetch, const std::optional<QString>& address, const QString& title,
                       const QString& browser, double dt);
    // `inFront` names the target for the ledger where it differs from the reported label.
    void count(double dt, const QString& reason, const QString& target,
               const QString& inFront = QString());

    WolluProbes& probes_;
    Track track_;
    double lastPoll_ = 0;
    double sleepStart_ = 0;
    Run run_;
    double idleThreshold_ = 600;
    // The outstanding tab read (0 = none) and when it began: a read that never answers must not
    // stop browser polls for the rest of the run.
    quint64 tabFetch_ = 0;
    quint64 tabFetchSerial_ = 0;
    double tabFetchStarted_ = 0;
};
