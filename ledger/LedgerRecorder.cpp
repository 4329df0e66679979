// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger/LedgerRecorder.h"

#include "engine/Clock.h"
#include "ledger/DayCapture.h"
#include "ledger/Ledger.h"

#include <algorithm>
#include <cmath>

LedgerRecorder::LedgerRecorder(const QString& path, QObject* parent, qint64 firstRetryMs)
    : QObject(parent), firstRetryMs_(firstRetryMs), retryMs_(firstRetryMs)
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
            if (open_) {
                last_ = ledger_->day(today);
            } else {
                // History is a convenience: without it the application runs on as before.
                qWarning("tockwork: days are not kept for now (%s); trying again later",
                         qPrintable(ledger_->errorText()));
                warned_ = true;
                retryAt_ = QDeadlineTimer(retryMs_);
            }
        },
        Qt::BlockingQueuedConnection);
    startBreakdown(today);
    if (last_) {
        byReason_ = last_->slackByReason;
        for (const SlackTarget& t : std::as_const(last_->topTargets))
            byTarget_.insert(t.label, t.seconds);
    }
    connect(&timer_, &QTimer::timeout, this, &LedgerRecorder::recordNow);
    timer_.start(kIntervalMs);
    if (open_)
        recordNow();
}

bool LedgerRecorder::reopenIfDue(const QDate& day)
{
    if (ledger_->isOpen())
        return true;
    if (!retryAt_.hasExpired())
        return false;
    if (!ledger_->open()) {
        retryMs_ = std::min(std::max<qint64>(retryMs_ * 2, 1), kLongestRetryMs);
        retryAt_ = QDeadlineTimer(retryMs_);
        return false;
    }
    qInfo("tockwork: the day ledger is open again; days are kept");
    retryMs_ = firstRetryMs_;
    warned_ = false;
    open_ = true;
    // An earlier run may have kept part of today: its slacking breakdown joins this run's before
    // the next write, so that write does not replace it.
    if (const std::optional<DayRecord> earlier = ledger_->day(day)) {
        QMetaObject::invokeMethod(this, [this, row = *earlier] { adoptEarlierRow(row); });
        return false;
    }
    return true;
}

void LedgerRecorder::adoptEarlierRow(const DayRecord& row)
{
    if (row.date != breakdownDay_)
        return;
    for (auto it = row.slackByReason.cbegin(); it != row.slackByReason.cend(); ++it)
        byReason_[it.key()] += it.value();
    for (const SlackTarget& t : row.topTargets)
        byTarget_[t.label] += t.seconds;
    if (!last_ || last_->date != row.date)
        last_ = row;
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
            if (!reopenIfDue(record.date))
                return;
            if (ledger_->upsert(record)) {
                warned_ = false;
            } else if (!warned_) {
                // Once per failure streak: a full disk should not fill the journal as well.
                qWarning("tockwork: could not keep today in the day ledger: %s",
                         qPrintable(ledger_->errorText()));
                warned_ = true;
            }
            // A damaged page found while writing closed the ledger: it is checked, and set
            // aside if need be, at the next retry.
            if (!ledger_->isOpen())
                retryAt_ = QDeadlineTimer(retryMs_);
        },
        wait ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}
