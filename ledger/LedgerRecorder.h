// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ledger/DayRecord.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>

class Ledger;

// Keeps today's row of the ledger current while the application runs: written at start, once a
// minute and at quit, so a crash or a power cut loses at most the last minute. The figures are
// taken on the calling (GUI) thread, which is cheap; the commit, which waits for the disk, runs on
// a thread of its own so the GUI never waits for it. A ledger that cannot be opened (another
// program holds it, the folder is read-only, the file is damaged) is tried again with the writes,
// less often the longer it fails, so the day is kept as soon as it can be.
class LedgerRecorder final : public QObject
{
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 60'000;
    // The first retry after a failed open waits this long, each further one twice as long.
    static constexpr qint64 kFirstRetryMs = 30'000;
    static constexpr qint64 kLongestRetryMs = 30 * 60'000;

    explicit LedgerRecorder(const QString& path, QObject* parent = nullptr,
                            qint64 firstRetryMs = kFirstRetryMs);
    // Waits for the last write.
    ~LedgerRecorder() override;

    // Takes today's figures now and hands them to the writer.
    void recordNow();
    // The same, and returns once the row is on disk (at quit; tests).
    void recordNowAndWait();
    bool isOpen() const { return open_; }

    // Slacking as the tracker counts it, for today's seconds per reason ("away_screen", "idle",
    // "app", "site", "system_sleep") and its top three targets. Without calls these stay unknown
    // (empty in the row), never zero.
    void addSlacking(double seconds, const QString& reason, const QString& target);

private:
    void record(bool wait);
    void startBreakdown(const QDate& day);
    // In thread_: opens the ledger again when its retry is due; whether it is open.
    bool reopenIfDue(const QDate& day);
    // In the GUI thread: today's row found once the ledger opened late, from an earlier run.
    void adoptEarlierRow(const DayRecord& row);

    QThread thread_;
    QObject* writerContext_ = nullptr; // lives in thread_, owns nothing
    std::unique_ptr<Ledger> ledger_;   // created, used and destroyed in thread_ only
    std::optional<DayRecord> last_;
    // Today's slacking by reason and by target, carried over a restart through today's row
    // (targets below the top three of a restart are gone).
    QDate breakdownDay_;
    QMap<QString, double> byReason_;
    QMap<QString, double> byTarget_;
    QTimer timer_;
    std::atomic<bool> open_ = false;
    bool warned_ = false; // touched in thread_ only
    // Touched in thread_ only: when to try opening again, and the wait after that.
    QDeadlineTimer retryAt_;
    qint64 firstRetryMs_;
    qint64 retryMs_;
};
