// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDeadlineTimer>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;
class QSemaphore;

namespace Analytics::detail {

enum class Endpoint
{
    track,
    engage
};

// Lives on the thread "tockwork.analytics" and is the only code that touches the event buffer,
// the HTTP client and the queue file. Every member runs on that thread.
class Worker final : public QObject
{
    Q_OBJECT

public:
    static constexpr qsizetype batchSize = 30;

    void append(const QJsonObject& record);
    void flushBuffer();
    void post(Endpoint endpoint, const QJsonArray& batch, std::function<void()> done = {});
    void drainPersisted();
    // Flushes, then releases `done` once no event post is unanswered; at `deadline` the
    // unanswered ones are cancelled (and so persisted) and `done` is released.
    void flushAndWait(const std::shared_ptr<QSemaphore>& done, QDeadlineTimer deadline);
    // Cancels every post and persists what is unanswered or still buffered; drops the client.
    void stop();
    // Drops everything without persisting (tests only).
    void discardAll();

    int bufferedCount() const { return int(buffer_.size()); }
    int inFlightCount() const { return int(pending_.size()); }

private:
    struct Pending
    {
        QJsonArray batch;
        Endpoint endpoint = Endpoint::track;
        std::function<void()> done;
    };

    QNetworkAccessManager* client();
    void finished(QNetworkReply* reply);
    void persist(const QJsonArray& batch);
    void abortAll();
    int trackInFlight() const;
    void releaseWaitersIfIdle();
    // Lets every flushSync caller go and forgets the client with its kept-alive connections.
    void releaseWaitersAndClient();

    void postBuffer();

    QJsonArray buffer_;
    QNetworkAccessManager* client_ = nullptr;
    QHash<QNetworkReply*, Pending> pending_;
    std::vector<std::shared_ptr<QSemaphore>> waiters_;
    bool discarding_ = false;
};

// The worker, started on first use from any thread; null when `create` is false and it never
// started.
Worker* worker(bool create = true);

} // namespace Analytics::detail
