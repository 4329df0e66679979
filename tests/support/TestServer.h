// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QMutex>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <functional>

// A minimal HTTP/1.1 server on 127.0.0.1 in a thread of its own, standing in for the ingestion
// API: it decodes every "data=" body, answers with the status its responder picks (0 drops
// the connection, -1 never answers) and closes the connection.
class TestServer final
{
public:
    struct Request
    {
        QByteArray path;    // "/track?ip=1"
        QJsonArray records; // decoded; empty when the body did not decode
    };

    TestServer()
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection())
                QObject::connect(s, &QTcpSocket::readyRead, &server_, [this, s] { serve(s); });
        });
        server_.moveToThread(&thread_);
        thread_.start();
    }
    ~TestServer()
    {
        thread_.quit();
        thread_.wait();
    }

    QString baseUrl() const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort());
    }
    void answer(std::function<int(const Request&)> responder)
    {
        QMutexLocker lock(&mutex_);
        responder_ = std::move(responder);
    }
    QList<Request> requests() const
    {
        QMutexLocker lock(&mutex_);
        return requests_;
    }
    // Every record received on /track (or /engage), in arrival order.
    QJsonArray records(bool track = true) const
    {
        QJsonArray out;
        for (const Request& r : requests())
            for (const QJsonValue& v : r.records)
                if (r.path.startsWith("/track") == track)
                    out.append(v);
        return out;
    }

private:
    void serve(QTcpSocket* s)
    {
        const QByteArray buf = s->property("buf").toByteArray() + s->readAll();
        s->setProperty("buf", buf);
        const qsizetype end = buf.indexOf("\r\n\r\n"),
                        at = buf.toLower().indexOf("content-length:");
        if (end < 0 || buf.size() < end + 4 + buf.mid(at + 15).split('\r')[0].trimmed().toInt())
            return;
        Request r{buf.left(end).split(' ').value(1), {}};
        if (const auto json = QByteArray::fromBase64Encoding(
                QByteArray::fromPercentEncoding(buf.mid(end + 4).mid(5)),
                QByteArray::AbortOnBase64DecodingErrors))
            r.records = QJsonDocument::fromJson(*json).array();
        QMutexLocker lock(&mutex_);
        requests_.push_back(r);
        const int code = responder_ ? responder_(r) : 200;
        if (code == 0)
            s->abort();
        else if (code > 0)
            s->write("HTTP/1.1 " + QByteArray::number(code) +
                     " X\r\nContent-Length: 1\r\nConnection: close\r\n\r\n1");
    }

    QThread thread_;
    QTcpServer server_;
    mutable QMutex mutex_;
    std::function<int(const Request&)> responder_;
    QList<Request> requests_;
};
