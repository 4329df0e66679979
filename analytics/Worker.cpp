// SPDX-License-Identifier: GPL-3.0-or-later
#include "analytics/Worker.h"

#include "analytics/Config.h"
#include "analytics/QueueFile.h"
#include "analytics/Wire.h"

#include "analytics/Chunked.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSemaphore>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <utility>

namespace Analytics::detail {

namespace {

constexpr int requestTimeoutMs = 10000;
// What the quit wait leaves for cancelling and writing the queue file before the caller gives up.
constexpr qint64 persistMarginMs = 100;

} // namespace

QNetworkAccessManager* Worker::client()
{
    if (!client_) {
        client_ = new QNetworkAccessManager(this);
        // A redirected POST would be re-sent as a GET without its body; treat it as a failure
        // and keep the batch instead.
        client_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    }
    return client_;
}

void Worker::append(const QJsonObject& record)
{
    buffer_.append(record);
    if (buffer_.size() >= batchSize)
        postBuffer();
}

void Worker::flushBuffer()
{
    postBuffer();
}

void Worker::postBuffer()
{
    if (buffer_.isEmpty())
        return;
    QJsonArray batch;
    batch.swap(buffer_);
    post(Endpoint::track, batch);
}

void Worker::post(Endpoint endpoint, const QJsonArray& batch, std::function<void()> done)
{
    QNetworkRequest request(endpoint == Endpoint::track ? Config::trackUrl() : Config::engageUrl());
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(requestTimeoutMs);
    QNetworkReply* reply = client()->post(request, Wire::formBody(batch));
    pending_.insert(reply, Pending{batch, endpoint, std::move(done)});
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finished(reply); });
}

void Worker::finished(QNetworkReply* reply)
{
    const auto it = pending_.find(reply);
    if (it == pending_.end())
        return;
    Pending pending = std::move(it.value());
    pending_.erase(it);
    reply->deleteLater();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // Only 200 means the API took the batch; 201 or 204 come from something else (a proxy or
    // captive portal) that did not.
    const bool ok = reply->error() == QNetworkReply::NoError && status == 200;
    if (!ok && pending.endpoint == Endpoint::track && !discarding_)
        persist(pending.batch);
    if (pending.done)
        pending.done();
    releaseWaitersIfIdle();
}

void Worker::persist(const QJsonArray& batch)
{
    if (const auto path = QueueFile::path())
        QueueFile::append(*path, batch);
}

void Worker::drainPersisted()
{
    const auto path = QueueFile::path();
    if (!path)
        return;
    const auto records = QueueFile::read(*path);
    // A file that cannot be read or parsed may be something a person wants to look at; it is
    // left alone here and only replaced when the next failed batch is persisted.
    if (!records || records->isEmpty())
        return;
    QFile::remove(*path);
    for (const QJsonArray& chunk : chunked(*records, batchSize))
        post(Endpoint::track, chunk);
}

int Worker::trackInFlight() const
{
    int count = 0;
    for (const Pending& pending : pending_)
        count += pending.endpoint == Endpoint::track ? 1 : 0;
    return count;
}

void Worker::releaseWaitersIfIdle()
{
    if (waiters_.empty() || trackInFlight() > 0)
        return;
    for (const auto& waiter : waiters_)
        waiter->release();
    waiters_.clear();
}

void Worker::flushAndWait(const std::shared_ptr<QSemaphore>& done, QDeadlineTimer deadline)
{
    flushBuffer();
    waiters_.push_back(done);
    releaseWaitersIfIdle();
    if (waiters_.empty())
        return;
    const qint64 budget = std::max<qint64>(0, deadline.remainingTime() - persistMarginMs);
    QTimer::singleShot(std::chrono::milliseconds(budget), this, [this, done] {
        const bool stillWaiting =
            std::find(waiters_.begin(), waiters_.end(), done) != waiters_.end();
        if (!stillWaiting)
            return;
        // The caller is about to quit: what has not been answered goes to the queue file (an
        // event the API did take arrives twice and is dropped there by its "$insert_id").
        abortAll();
        done->release();
        std::erase(waiters_, done);
    });
}

void Worker::abortAll()
{
    // Taken out first so that the cancelled replies' own finished() finds nothing to handle,
    // whether Qt emits it at once or later.
    const QHash<QNetworkReply*, Pending> pending = std::exchange(pending_, {});
    QJsonArray unanswered;
    for (auto it = pending.begin(); it != pending.end(); ++it) {
        QNetworkReply* reply = it.key();
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
        if (it->endpoint == Endpoint::track)
            for (const QJsonValue& record : it->batch)
                unanswered.append(record);
    }
    if (!unanswered.isEmpty() && !discarding_)
        persist(unanswered);
    for (const Pending& p : pending)
        if (p.done)
            p.done();
    releaseWaitersIfIdle();
}

void Worker::stop()
{
    abortAll();
    if (!buffer_.isEmpty()) {
        persist(buffer_);
        buffer_ = QJsonArray();
    }
    releaseWaitersAndClient();
}

void Worker::discardAll()
{
    discarding_ = true;
    abortAll();
    discarding_ = false;
    buffer_ = QJsonArray();
    // A fresh client forgets connections kept alive to a previous test's server.
    releaseWaitersAndClient();
}

void Worker::releaseWaitersAndClient()
{
    for (const auto& waiter : waiters_)
        waiter->release();
    waiters_.clear();
    delete client_;
    client_ = nullptr;
}

} // namespace Analytics::detail
