#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QThread>

#include <functional>
#include <memory>
#include <ostream>

class QTcpServer;

// A minimal HTTP/1.1 server on 127.0.0.1 in a thread of its own, standing in for the ingestion
// API: it decodes every "data=" body (percent-encoding, Base64, JSON) and answers as told.
class TestServer final
{
public:
    enum class Answer
    {
        ok,
        created,
        noContent,
        serverError,
        closeConnection,
        hang
    };

    struct Request
    {
        QByteArray path;    // "/track?ip=1"
        QByteArray body;    // as received
        QJsonArray records; // decoded; empty when the body did not decode
        bool decoded = false;
        bool track() const { return path.startsWith("/track"); }
    };

    TestServer();
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    QString baseUrl() const;
    // Called on the server thread for every request; answers 200 when unset.
    void setResponder(std::function<Answer(const Request&)> responder);
    void answerAll(Answer answer);

    QList<Request> requests() const;
    QList<Request> trackRequests() const;
    // Every event record received on /track, in arrival order.
    QJsonArray trackRecords() const;
    QList<QJsonObject> engageRecords() const;

private:
    class Impl;
    QThread thread_;
    Impl* impl_ = nullptr;
    quint16 port_ = 0;
};

inline void PrintTo(TestServer::Answer answer, std::ostream* os)
{
    static const char* const names[] = {"200", "201", "204", "500", "close", "hang"};
    *os << names[int(answer)];
}

// A loopback port on which nothing listens.
quint16 closedPort();
