#pragma once

#include "ledger/DayRecord.h"

#include <QObject>
#include <QThread>
#include <QTimer>

#include <memory>
#include <optional>

class Ledger;

// Keeps today's row of the ledger current while the application runs: written at start, once a
// minute and at quit, so a crash or a power cut loses at most the last minute. The figures are
// taken on the calling (GUI) thread, which is cheap; the commit, which waits for the disk, runs on
// a thread of its own so the GUI never waits for it.
class LedgerRecorder final : public QObject
{
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 60'000;

    explicit LedgerRecorder(const QString& path, QObject* parent = nullptr);
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
    bool open_ = false;
    bool warned_ = false; // touched in thread_ only
};
