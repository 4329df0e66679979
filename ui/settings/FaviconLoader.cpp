// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/FaviconLoader.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPixmap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSslConfiguration>
#include <QStandardPaths>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

// A site that gave no icon is not asked again for this long within one run.
constexpr qint64 kRetryAfterMs = 10 * 60 * 1000;
// Icons are kept at this many pixels at most; rows show them at 18 points, twice that on HiDPI.
constexpr int kKeptPixels = 64;
// A picture claiming to be larger than this is not a favicon (and may be a decompression bomb).
constexpr int kMaxDecodedSide = 1024;

struct TestServer
{
    quint16 port = 0;
    QSslCertificate certificate;
    int timeoutMs = FaviconLoader::kTimeoutMs;
};

TestServer& testServer()
{
    static TestServer server;
    return server;
}

QString cachePath(const QString& key)
{
    return FaviconLoader::cacheDir() + u'/' + key + QStringLiteral(".png");
}

// The best frame of an icon file (ICO files hold several sizes): the largest one that is not
// larger than the kept size, else the smallest.
QImage bestFrame(QImageReader& reader)
{
    QImage best;
    const int count = std::max(reader.imageCount(), 1);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QSize size = reader.size();
        if (size.isValid() && (size.width() > kMaxDecodedSide || size.height() > kMaxDecodedSide))
            continue;
        QImage frame = reader.read();
        if (frame.isNull())
            continue;
        const bool fits = frame.width() <= kKeptPixels;
        const bool bestFits = !best.isNull() && best.width() <= kKeptPixels;
        if (best.isNull() || (fits && (!bestFits || frame.width() > best.width())) ||
            (!fits && !bestFits && frame.width() < best.width()))
            best = frame;
    }
    return best;
}

QImage decodeIcon(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(16); // megabytes
    QImage image = bestFrame(reader);
    // Below 8 pixels a "favicon" is a tracking pixel or a placeholder, not a picture.
    if (image.isNull() || image.width() < 8 || image.height() < 8)
        return {};
    if (image.width() > kKeptPixels || image.height() > kKeptPixels)
        image =
            image.scaled(kKeptPixels, kKeptPixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Where a request really goes: the site itself, or the test server standing in for every site.
QNetworkRequest requestFor(const QUrl& url)
{
    const TestServer& server = testServer();
    QUrl target = url;
    if (server.port != 0) {
        target.setHost(QStringLiteral("127.0.0.1"));
        target.setPort(server.port);
    }
    QNetworkRequest request(target);
    if (server.port != 0) {
        request.setRawHeader("Host", url.host().toUtf8());
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        ssl.addCaCertificate(server.certificate);
        request.setSslConfiguration(ssl);
    }
    request.setTransferTimeout(server.timeoutMs);
    // Only HTTPS, also after redirects, and nothing that would tie the request to the user.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Mozilla/5.0 TockWork"));
    return request;
}

// The attribute `name` of one tag's text, unquoted; empty when absent.
QString attribute(const QString& tag, const QString& name)
{
    const QRegularExpression re(QStringLiteral("\\s%1\\s*=\\s*(\"([^\"]*)\"|'([^']*)'|([^\\s>]+))")
                                    .arg(QRegularExpression::escape(name)),
                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(tag);
    if (!m.hasMatch())
        return {};
    for (int group = 2; group <= 4; ++group)
        if (m.capturedLength(group) > 0)
            return m.captured(group).trimmed();
    return {};
}

} // namespace

std::optional<QUrl> iconLinkInPage(const QByteArray& html, const QUrl& pageUrl)
{
    // Only the head: icons are declared there, and the rest of a page is no business of ours.
    QByteArray head = html;
    if (const qsizetype end = head.toLower().indexOf("</head"); end >= 0)
        head.truncate(end);
    const QString text = QString::fromUtf8(head);
    static const QRegularExpression linkTag(QStringLiteral("<link\\b[^>]*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    std::optional<QUrl> best;
    int bestScore = 0;
    for (auto it = linkTag.globalMatch(text); it.hasNext();) {
        const QString tag = it.next().captured(0);
        const QStringList rel = attribute(tag, QStringLiteral("rel")).toLower().split(u' ');
        const QString href = attribute(tag, QStringLiteral("href"));
        const QString type = attribute(tag, QStringLiteral("type")).toLower();
        if (href.isEmpty())
            continue;
        int score = 0;
        if (rel.contains(QStringLiteral("icon")))
            score = 3;
        else if (rel.contains(QStringLiteral("apple-touch-icon")))
            score = 1;
        if (score == 0)
            continue;
        // No SVG reader is installed; a page usually offers a PNG or ICO beside it.
        if (type.contains(QStringLiteral("svg")) || href.toLower().contains(QStringLiteral(".svg")))
            continue;
        const QString sizes = attribute(tag, QStringLiteral("sizes"));
        if (sizes.startsWith(QStringLiteral("32")) || sizes.startsWith(QStringLiteral("48")) ||
            sizes.startsWith(QStringLiteral("64")))
            ++score;
        const QUrl url = pageUrl.resolved(QUrl(href));
        if (url.scheme() != QStringLiteral("https") && url.scheme() != QStringLiteral("data"))
            continue;
        if (score > bestScore) {
            best = url;
            bestScore = score;
        }
    }
    return best;
}

FaviconLoader& FaviconLoader::shared()
{
    static FaviconLoader* loader = new FaviconLoader;
    return *loader;
}

FaviconLoader::FaviconLoader(QObject* parent)
    : QObject(parent), network_(new QNetworkAccessManager(this))
{
    network_->setCookieJar(nullptr);
}

std::optional<QString> FaviconLoader::keyFor(const QString& domain)
{
    const QString trimmed = domain.trimmed().toLower();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QString ace = QString::fromLatin1(QUrl::toAce(trimmed));
    static const QRegularExpression host(QStringLiteral("^[a-z0-9]([a-z0-9-]*[a-z0-9])?"
                                                        "(\\.[a-z0-9]([a-z0-9-]*[a-z0-9])?)+$"));
    if (ace.isEmpty() || ace.size() > 253 || !host.match(ace).hasMatch())
        return std::nullopt;
    return ace;
}

QString FaviconLoader::cacheDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/tockwork/favicons");
}

std::optional<QImage> FaviconLoader::cached(const QString& domain) const
{
    const auto key = keyFor(domain);
    if (!key || !memory_.contains(*key))
        return std::nullopt;
    return memory_.value(*key);
}

void FaviconLoader::load(const QString& domain, QLabel* view, int points)
{
    const auto key = keyFor(domain);
    if (!key)
        return;
    const Waiter waiter{view, points};
    if (const auto it = memory_.constFind(*key); it != memory_.cend()) {
        show(waiter, *it);
        return;
    }
    if (const auto it = pending_.find(*key); it != pending_.end()) {
        it->append(waiter);
        return;
    }
    if (const auto failed = failedAt_.constFind(*key);
        failed != failedAt_.cend() &&
        QDateTime::currentMSecsSinceEpoch() - *failed < kRetryAfterMs) {
        Q_EMIT finished(*key, false);
        return;
    }
    pending_.insert(*key, {waiter});

    const QFileInfo file(cachePath(*key));
    if (!file.exists()) {
        startNetwork(*key);
        return;
    }
    // A week of 7 × 24 hours: calendar days would keep an icon fetched just before midnight
    // for less than six full days.
    const bool fresh = file.lastModified().secsTo(QDateTime::currentDateTime()) <
                       qint64(kCacheDays) * 24 * 60 * 60;
    const QString path = file.filePath();
    const QString k = *key;
    QThreadPool::globalInstance()->start([this, k, path, fresh] {
        QFile f(path);
        const QImage image =
            f.open(QIODevice::ReadOnly) ? decodeIcon(f.read(kMaxIconBytes)) : QImage();
        QMetaObject::invokeMethod(this, [this, k, image, fresh] {
            if (image.isNull()) {
                startNetwork(k);
                return;
            }
            if (fresh) {
                succeed(k, image, false);
                return;
            }
            // A week-old icon is shown while a newer one is fetched.
            memory_.insert(k, image);
            for (const Waiter& w : pending_.value(k))
                show(w, image);
            startNetwork(k);
        });
    });
}

void FaviconLoader::startNetwork(const QString& key)
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(key);
    url.setPath(QStringLiteral("/favicon.ico"));
    requestIcon(key, url, true);
}

void FaviconLoader::requestIcon(const QString& key, const QUrl& url, bool thenTryPage)
{
    const auto next = [this, key, thenTryPage] {
        if (thenTryPage)
            requestPage(key);
        else
            fail(key);
    };
    if (url.scheme() == QStringLiteral("data")) {
        // An icon written into the page itself: nothing more to fetch.
        const QByteArray uri = url.toEncoded();
        const qsizetype comma = uri.indexOf(',');
        const QByteArray bytes = comma < 0 ? QByteArray()
                                 : uri.left(comma).endsWith(";base64")
                                     ? QByteArray::fromBase64(uri.mid(comma + 1))
                                     : QByteArray::fromPercentEncoding(uri.mid(comma + 1));
        if (bytes.isEmpty() || bytes.size() > kMaxIconBytes) {
            next();
            return;
        }
        decode(bytes, [this, key, next](const QImage& image) {
            image.isNull() ? next() : succeed(key, image, true);
        });
        return;
    }
    get(url, kMaxIconBytes, false, [this, key, next](bool ok, const QByteArray& body, const QUrl&) {
        if (!ok) {
            next();
            return;
        }
        decode(body, [this, key, next](const QImage& image) {
            image.isNull() ? next() : succeed(key, image, true);
        });
    });
}

void FaviconLoader::requestPage(const QString& key)
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(key);
    url.setPath(QStringLiteral("/"));
    get(url, kMaxPageBytes, true,
        [this, key](bool ok, const QByteArray& body, const QUrl& finalUrl) {
            if (!ok) {
                fail(key);
                return;
            }
            const auto icon = iconLinkInPage(body, finalUrl);
            if (!icon || *icon == finalUrl.resolved(QUrl(QStringLiteral("/favicon.ico")))) {
                fail(key);
                return;
            }
            requestIcon(key, *icon, false);
        });
}

QNetworkReply*
FaviconLoader::get(const QUrl& url, qint64 maxBytes, bool stopQuietlyAtLimit,
                   std::function<void(bool ok, const QByteArray& body, const QUrl& finalUrl)> done)
{
    QNetworkReply* reply = network_->get(requestFor(url));
    struct State
    {
        QByteArray body;
        bool over = false;
        bool finished = false;
    };
    auto state = std::make_shared<State>();
    const auto finish = [reply, state, url, done](bool ok) {
        if (state->finished)
            return;
        state->finished = true;
        // The test server answers for every site; report the address that was asked for.
        const QUrl finalUrl = testServer().port != 0 ? url : reply->url();
        done(ok, state->body, finalUrl);
        reply->deleteLater();
    };
    // The transfer timeout restarts with every byte; a trickling server is cut off here.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [reply] { reply->abort(); });
    deadline->start(testServer().timeoutMs);

    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, state, maxBytes] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBytes)
            state->over = true;
    });
    connect(reply, &QNetworkReply::readyRead, reply,
            [reply, state, maxBytes, stopQuietlyAtLimit, finish] {
                if (state->over && !stopQuietlyAtLimit) {
                    finish(false);
                    reply->abort();
                    return;
                }
                state->body += reply->read(maxBytes - state->body.size() + 1);
                if (state->body.size() > maxBytes) {
                    state->body.truncate(maxBytes);
                    finish(stopQuietlyAtLimit);
                    reply->abort();
                }
            });
    connect(reply, &QNetworkReply::finished, reply, [reply, state, finish] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool ok = reply->error() == QNetworkReply::NoError && status >= 200 && status < 300 &&
                        !state->over;
        if (ok)
            state->body += reply->readAll();
        finish(ok && !state->body.isEmpty());
    });
    return reply;
}

void FaviconLoader::decode(const QByteArray& bytes, std::function<void(const QImage&)> done)
{
    QThreadPool::globalInstance()->start([this, bytes, done] {
        const QImage image = decodeIcon(bytes);
        QMetaObject::invokeMethod(this, [done, image] { done(image); });
    });
}

void FaviconLoader::succeed(const QString& key, const QImage& image, bool writeDisk)
{
    memory_.insert(key, image);
    failedAt_.remove(key);
    for (const Waiter& w : pending_.take(key))
        show(w, image);
    if (!writeDisk) {
        Q_EMIT finished(key, true);
        return;
    }
    const QString path = cachePath(key);
    QThreadPool::globalInstance()->start([this, key, path, image] {
        QDir().mkpath(QFileInfo(path).path());
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG"))
            file.commit();
        QMetaObject::invokeMethod(this, [this, key] { Q_EMIT finished(key, true); });
    });
}

void FaviconLoader::fail(const QString& key)
{
    failedAt_.insert(key, QDateTime::currentMSecsSinceEpoch());
    pending_.remove(key);
    Q_EMIT finished(key, memory_.contains(key));
}

void FaviconLoader::show(const Waiter& waiter, const QImage& image) const
{
    if (!waiter.view)
        return;
    const qreal dpr = std::max<qreal>(waiter.view->devicePixelRatioF(), 1);
    const int side = int(std::ceil(waiter.points * dpr));
    QPixmap pixmap =
        QPixmap::fromImage(image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(dpr);
    waiter.view->setPixmap(pixmap);
}

void FaviconTesting::useServer(quint16 port, const QSslCertificate& certificate)
{
    testServer().port = port;
    testServer().certificate = certificate;
}

void FaviconTesting::setTimeoutMs(int ms)
{
    testServer().timeoutMs = ms;
}

void FaviconTesting::reset()
{
    testServer() = TestServer();
    FaviconLoader& loader = FaviconLoader::shared();
    loader.memory_.clear();
    loader.failedAt_.clear();
    loader.pending_.clear();
}
