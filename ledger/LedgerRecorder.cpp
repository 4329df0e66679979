#include "ledger/LedgerRecorder.h"

#include "engine/Clock.h"
#include "ledger/DayCapture.h"
#include "ledger/Ledger.h"

#include <algorithm>
#include <cmath>

LedgerRecorder::LedgerRecorder(const QString& path, QObject* parent) : QObject(parent)
{
    thread_.setObjectName(QStringLiteral("tockwork-ledger"));
    writerContext_ = new QObject;
    writerContext_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, writerContext_, &QObject::deleteLater);
    thread_.start();

    // Opening (and bringing an old file up to date) happens once, before the first tick.
    const QDate today = Clock::toLocal(Clock::now()).date();
    QMetaObject::invokeMethod(
        writerContext_,
        [this, path, today] {
            ledger_ = std::make_unique<Ledger>(path, Ledger::Access::readWrite);
            open_ = ledger_->isOpen();
            if (open_)
                last_ = ledger_->day(today);
            else // history is a convenience: without it the application runs on as before
                qWarning("tockwork: days are not kept: %s", qPrintable(ledger_->errorText()));
        },
        Qt::BlockingQueuedConnection);
    if (!open_)
        return;
    startBreakdown(today);
    if (last_) {
        byReason_ = last_->slackByReason;
        for (const SlackTarget& t : std::as_const(last_->topTargets))
            byTarget_.insert(t.label, t.seconds);
    }
    connect(&timer_, &QTimer::timeout, this, &LedgerRecorder::recordNow);
    timer_.start(kIntervalMs);
    recordNow();
}

LedgerRecorder::~LedgerRecorder()
{
    timer_.stop();
    // The ledger's connection belongs to the writer thread: it is closed there.
    QMetaObject::invokeMethod(
        writerContext_, [this] { ledger_.reset(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

void LedgerRecorder::startBreakdown(const QDate& day)
{
    breakdownDay_ = day;
    byReason_.clear();
    byTarget_.clear();
}

void LedgerRecorder::addSlacking(double seconds, const QString& reason, const QString& target)
{
    if (!(seconds > 0) || !std::isfinite(seconds))
        return;
    const QDate today = Clock::toLocal(Clock::now()).date();
    if (breakdownDay_ != today)
        startBreakdown(today);
    if (slackReasons().contains(reason))
        byReason_[reason] += seconds;
    if (!target.isEmpty())
        byTarget_[target] += seconds;
}

void LedgerRecorder::recordNow()
{
    record(false);
}

void LedgerRecorder::recordNowAndWait()
{
    record(true);
}

void LedgerRecorder::record(bool wait)
{
    if (!open_)
        return;
    DayRecord record = captureDay(Clock::now(), last_);
    if (breakdownDay_ != record.date)
        startBreakdown(record.date);
    record.slackByReason = byReason_;
    QList<SlackTarget> targets;
    for (auto it = byTarget_.cbegin(); it != byTarget_.cend(); ++it)
        targets.append({it.key(), it.value()});
    std::stable_sort(
        targets.begin(), targets.end(),
        [](const SlackTarget& a, const SlackTarget& b) { return a.seconds > b.seconds; });
    record.topTargets = targets.mid(0, 3);
    last_ = record;
    QMetaObject::invokeMethod(
        writerContext_,
        [this, record] {
            if (ledger_->upsert(record)) {
                warned_ = false;
            } else if (!warned_) {
                // Once per failure streak: a full disk should not fill the journal as well.
                qWarning("tockwork: could not keep today in the day ledger: %s",
                         qPrintable(ledger_->errorText()));
                warned_ = true;
            }
        },
        wait ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}
