#include "TestServer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>

class TestServer::Impl final : public QObject
{
public:
    mutable QMutex mutex;
    std::function<Answer(const Request&)> responder;
    QList<Request> requests;
    QTcpServer* server = nullptr;

    void listen(quint16* port)
    {
        server = new QTcpServer(this);
        server->listen(QHostAddress::LocalHost, 0);
        *port = server->serverPort();
        connect(server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server->nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    void serve(QTcpSocket* socket)
    {
        QByteArray buffer = socket->property("pending").toByteArray() + socket->readAll();
        if (socket->property("hung").toBool())
            return;
        for (;;) {
            const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
            if (headerEnd < 0)
                break;
            const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
            qsizetype length = 0;
            for (const QByteArray& line : lines) {
                const QByteArray lower = line.trimmed().toLower();
                if (lower.startsWith("content-length:"))
                    length = lower.mid(15).trimmed().toLongLong();
            }
            if (buffer.size() < headerEnd + 4 + length)
                break;
            Request request;
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            request.path = first.value(1);
            request.body = buffer.mid(headerEnd + 4, length);
            buffer.remove(0, headerEnd + 4 + length);
            decode(request);

            Answer answer = Answer::ok;
            {
                QMutexLocker lock(&mutex);
                requests.push_back(request);
                if (responder)
                    answer = responder(request);
            }
            if (!respond(socket, answer))
                return;
        }
        socket->setProperty("pending", buffer);
    }

    static void decode(Request& request)
    {
        if (!request.body.startsWith("data="))
            return;
        const QByteArray base64 = QByteArray::fromPercentEncoding(request.body.mid(5));
        const auto bytes =
            QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        if (!bytes)
            return;
        const QJsonDocument doc = QJsonDocument::fromJson(*bytes);
        if (!doc.isArray())
            return;
        request.records = doc.array();
        request.decoded = true;
    }

    // False when the connection is gone or must stay silent.
    static bool respond(QTcpSocket* socket, Answer answer)
    {
        int code = 200;
        switch (answer) {
        case Answer::ok:
            code = 200;
            break;
        case Answer::created:
            code = 201;
            break;
        case Answer::noContent:
            code = 204;
            break;
        case Answer::serverError:
            code = 500;
            break;
        case Answer::closeConnection:
            socket->abort();
            return false;
        case Answer::hang:
            socket->setProperty("hung", true);
            return false;
        }
        const QByteArray body = code == 204 ? QByteArray() : QByteArray("1");
        socket->write("HTTP/1.1 " + QByteArray::number(code) +
                      " X\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\nConnection: keep-alive\r\n\r\n" + body);
        return true;
    }
};

TestServer::TestServer()
{
    thread_.setObjectName(QStringLiteral("test-http-server"));
    impl_ = new Impl;
    impl_->moveToThread(&thread_);
    thread_.start();
    Impl* impl = impl_;
    quint16* port = &port_;
    QMetaObject::invokeMethod(
        impl_, [impl, port] { impl->listen(port); }, Qt::BlockingQueuedConnection);
}

TestServer::~TestServer()
{
    Impl* impl = impl_;
    QMetaObject::invokeMethod(
        impl_, [impl] { delete impl; }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

QString TestServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

void TestServer::setResponder(std::function<Answer(const Request&)> responder)
{
    QMutexLocker lock(&impl_->mutex);
    impl_->responder = std::move(responder);
}

void TestServer::answerAll(Answer answer)
{
    setResponder([answer](const Request&) { return answer; });
}

QList<TestServer::Request> TestServer::requests() const
{
    QMutexLocker lock(&impl_->mutex);
    return impl_->requests;
}

QList<TestServer::Request> TestServer::trackRequests() const
{
    QList<Request> result;
    for (const Request& request : requests())
        if (request.track())
            result.push_back(request);
    return result;
}

QJsonArray TestServer::trackRecords() const
{
    QJsonArray records;
    for (const Request& request : trackRequests())
        for (const QJsonValue& record : request.records)
            records.append(record);
    return records;
}

QList<QJsonObject> TestServer::engageRecords() const
{
    QList<QJsonObject> records;
    for (const Request& request : requests())
        if (!request.track())
            for (const QJsonValue& record : request.records)
                records.push_back(record.toObject());
    return records;
}

quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
