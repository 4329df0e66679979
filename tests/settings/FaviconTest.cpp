// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/FaviconLoader.h"

#include "Sandbox.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMutex>
#include <QProcess>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

QByteArray png(int side, const QColor& colour)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

struct Response
{
    int status = 200;
    QByteArray body;
    QByteArray type = "image/png";
    bool never = false; // the server reads the request and never answers
};

// An HTTPS server on 127.0.0.1 with a certificate made for this run, answering per site (the
// Host header) and path from a table; it counts what it was asked.
class IconServer final
{
public:
    bool start(const QString& dir)
    {
        const QString cert = dir + "/cert.pem", key = dir + "/key.pem";
        QProcess openssl;
        openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                                  "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                                  "subjectAltName=IP:127.0.0.1"});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
            return false;
        QFile certFile(cert), keyFile(key);
        if (!certFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly))
            return false;
        certificate_ = QSslCertificate(certFile.readAll());
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        ssl.setLocalCertificate(certificate_);
        ssl.setPrivateKey(QSslKey(keyFile.readAll(), QSsl::Rsa));
        server_.setSslConfiguration(ssl);
        QObject::connect(&server_, &QTcpServer::pendingConnectionAvailable, &server_, [this] {
            while (auto* socket = qobject_cast<QSslSocket*>(server_.nextPendingConnection()))
                QObject::connect(socket, &QSslSocket::readyRead, socket,
                                 [this, socket] { serve(socket); });
        });
        return server_.listen(QHostAddress::LocalHost, 0);
    }

    void route(const QByteArray& host, const QByteArray& path, Response response)
    {
        routes_[host + path] = std::move(response);
    }
    int asked(const QByteArray& host) const
    {
        int n = 0;
        for (const QByteArray& r : requests_)
            n += r.startsWith(QByteArray(host + '/'));
        return n;
    }
    quint16 port() const { return server_.serverPort(); }
    const QSslCertificate& certificate() const { return certificate_; }

private:
    void serve(QSslSocket* socket)
    {
        QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
        socket->setProperty("buffer", buffer);
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QByteArray path = buffer.split(' ').value(1);
        QByteArray host;
        for (const QByteArray& line : buffer.split('\n'))
            if (line.toLower().startsWith("host:"))
                host = line.mid(5).trimmed();
        requests_ << host + path;
        const auto it = routes_.find(host + path);
        const Response response =
            it == routes_.end() ? Response{404, "no", "text/plain"} : it->second;
        if (response.never)
            return;
        socket->write("HTTP/1.1 " + QByteArray::number(response.status) +
                      " X\r\nContent-Type: " + response.type +
                      "\r\nContent-Length: " + QByteArray::number(response.body.size()) +
                      "\r\nConnection: close\r\n\r\n" + response.body);
        socket->disconnectFromHost();
    }

    QSslServer server_;
    QSslCertificate certificate_;
    std::map<QByteArray, Response> routes_;
    QByteArrayList requests_;
};

class FaviconTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        home_.useAsHome();
        if (!server_.start(tmp_.path()))
            GTEST_SKIP() << "openssl could not make a certificate";
        FaviconTesting::reset();
        FaviconTesting::useServer(server_.port(), server_.certificate());
        FaviconTesting::setTimeoutMs(3000);
    }
    void TearDown() override { FaviconTesting::reset(); }

    // Loads `domain` into a fresh view and waits for the fetch to end; the view's pixmap or none.
    std::optional<QImage> load(const QString& domain)
    {
        QLabel view;
        const QString key = FaviconLoader::keyFor(domain).value_or(QString());
        bool ended = false;
        const auto connection =
            QObject::connect(&FaviconLoader::shared(), &FaviconLoader::finished,
                             [&](const QString& k, bool) { ended = ended || k == key; });
        FaviconLoader::shared().load(domain, &view, 18);
        const bool fromMemory = !view.pixmap().isNull();
        for (QDeadlineTimer deadline(5000); !ended && !fromMemory;) {
            if (deadline.hasExpired()) {
                ADD_FAILURE() << "no answer for " << domain.toStdString();
                break;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        QObject::disconnect(connection);
        if (view.pixmap().isNull())
            return std::nullopt;
        return view.pixmap().toImage();
    }
    static QString cacheFile(const QString& key)
    {
        return FaviconLoader::cacheDir() + "/" + key + ".png";
    }

    StoreSandbox home_;
    QTemporaryDir tmp_;
    IconServer server_;
};

TEST_F(FaviconTest, TheSiteItselfGivesItsIconWhichIsKeptInMemoryAndOnDisk)
{
    server_.route("good.test", "/favicon.ico", {200, png(32, Qt::red)});
    const auto icon = load("Good.Test");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->pixel(icon->width() / 2, icon->height() / 2), qRgb(255, 0, 0));
    EXPECT_TRUE(FaviconLoader::shared().cached("good.test"));
    EXPECT_TRUE(QFileInfo::exists(cacheFile("good.test")));

    // A new run (memory forgotten) shows it from disk without asking the site.
    FaviconTesting::reset();
    FaviconTesting::useServer(server_.port(), server_.certificate());
    EXPECT_TRUE(load("good.test"));
    EXPECT_EQ(server_.asked("good.test"), 1);

    // After a week the site is asked again.
    FaviconTesting::reset();
    FaviconTesting::useServer(server_.port(), server_.certificate());
    QFile file(cacheFile("good.test"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addDays(-8), QFileDevice::FileModificationTime);
    file.close();
    EXPECT_TRUE(load("good.test")); // the old icon shows at once
    QCoreApplication::processEvents();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server_.asked("good.test") == 2; }, 5000));
}

TEST_F(FaviconTest, WithoutFaviconIcoTheHomePagesLinkIsFollowed)
{
    server_.route("linked.test", "/",
                  {200,
                   "<html><head><link rel=\"stylesheet\" href=\"/s.css\">"
                   "<link rel=\"icon\" type=\"image/svg+xml\" href=\"/i.svg\">"
                   "<link rel='shortcut icon' href='/static/i.png' sizes='32x32'></head>",
                   "text/html"});
    server_.route("linked.test", "/static/i.png", {200, png(16, Qt::green)});
    const auto icon = load("linked.test");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->pixel(icon->width() / 2, icon->height() / 2), qRgb(0, 255, 0));
}

TEST_F(FaviconTest, MissingOversizedSlowAndNonImageAnswersLeaveTheRowsOwnIcon)
{
    FaviconTesting::setTimeoutMs(300); // how slow.test ends
    server_.route("big.test", "/favicon.ico",
                  {200, png(32, Qt::red) + QByteArray(FaviconLoader::kMaxIconBytes, 'x')});
    server_.route("slow.test", "/favicon.ico", {200, {}, {}, true});
    server_.route("slow.test", "/", {200, {}, {}, true});
    server_.route("text.test", "/favicon.ico", {200, "hello", "text/plain"});
    server_.route("text.test", "/", {200, "<html><head><title>x</title></head>", "text/html"});
    server_.route("tiny.test", "/favicon.ico", {200, png(1, Qt::red)});
    // The link sits past the part of the page that is read.
    server_.route("long.test", "/",
                  {200,
                   "<html><head>" + QByteArray(FaviconLoader::kMaxPageBytes, ' ') +
                       "<link rel=icon href=/i.png></head>",
                   "text/html"});
    server_.route("long.test", "/i.png", {200, png(32, Qt::red)});
    for (const char* site :
         {"missing.test", "big.test", "slow.test", "text.test", "tiny.test", "long.test"}) {
        EXPECT_FALSE(load(site)) << site;
        EXPECT_FALSE(FaviconLoader::shared().cached(site)) << site;
        EXPECT_FALSE(QFileInfo::exists(cacheFile(site))) << site;
    }
    // its /favicon.ico and its home page, never the icon named past the part that is read
    EXPECT_EQ(server_.asked("long.test"), 2);
    // A site that failed is not asked again at every relayout.
    EXPECT_FALSE(load("missing.test"));
    EXPECT_EQ(server_.asked("missing.test"), 2); // its /favicon.ico and its home page, once
}

TEST(FaviconLinks, OnlyHttpsIconsDeclaredInTheHeadAreTaken)
{
    const QUrl page("https://www.example.com/dir/page");
    struct Case
    {
        const char* html;
        const char* icon; // empty: none
    };
    const Case cases[] = {
        {"<link rel=\"icon\" href=\"/a.png\">", "https://www.example.com/a.png"},
        {"<LINK HREF='b.ico' REL='Shortcut Icon'>", "https://www.example.com/dir/b.ico"},
        {"<link rel=icon href=//cdn.example.net/c.png>", "https://cdn.example.net/c.png"},
        {"<link rel=\"icon\" href=\"http://example.com/d.png\">", ""},
        {"<link rel=\"icon\" href=\"/e.svg\">", ""},
        {"<link rel=\"apple-touch-icon\" href=\"/t.png\"><link rel=\"icon\" href=\"/f.png\">",
         "https://www.example.com/f.png"},
        {"<link rel=\"icon\" href=\"/16.png\" sizes=\"16x16\">"
         "<link rel=\"icon\" href=\"/32.png\" sizes=\"32x32\">",
         "https://www.example.com/32.png"},
        {"<head></head><body><link rel=\"icon\" href=\"/g.png\"></body>", ""},
        {"<link rel=\"stylesheet\" href=\"/s.css\">", ""},
    };
    for (const Case& c : cases) {
        const auto icon = iconLinkInPage(c.html, page);
        EXPECT_EQ(icon ? icon->toString() : QString(), QString::fromUtf8(c.icon)) << c.html;
    }
    EXPECT_EQ(FaviconLoader::keyFor(" YouTube.COM "), "youtube.com");
    EXPECT_EQ(FaviconLoader::keyFor("블로그.com"), "xn--2i0b10rqve.com");
    for (const char* bad : {"", "youtube", "a b.com", "../x.com", "x.com/path", "-x.com"})
        EXPECT_FALSE(FaviconLoader::keyFor(bad)) << bad;
}

} // namespace
