// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;

// The icons of site entries, fetched from the site itself over HTTPS: its "/favicon.ico", or else
// the icon its home page names in <link rel="icon">. No third-party icon service is asked, since
// the list of someone's distraction sites is private. Icons are kept in memory for the process
// and on disk under $XDG_CACHE_HOME/tockwork/favicons for a week, so the editor opens at once and
// offline. Network replies arrive on the GUI thread; decoding runs on a worker thread.
class FaviconLoader final : public QObject
{
    Q_OBJECT
public:
    static FaviconLoader& shared();

    // Shows the icon of `domain` in `view` (`points` square) now when known, else when it
    // arrives; a view deleted meanwhile is skipped. An unusable domain is ignored.
    void load(const QString& domain, QLabel* view, int points);
    // The icon in memory, if any.
    std::optional<QImage> cached(const QString& domain) const;

    static constexpr int kTimeoutMs = 5000;
    static constexpr qint64 kMaxIconBytes = 256 * 1024;
    static constexpr qint64 kMaxPageBytes = 512 * 1024;
    static constexpr int kCacheDays = 7;

    // The lower-cased ASCII form of `domain` used as the cache key and host, or none when it is
    // not a plain host name.
    static std::optional<QString> keyFor(const QString& domain);
    // The folder of the disk cache.
    static QString cacheDir();

Q_SIGNALS:
    // One fetch of `key` ended: with an icon, or without one (the row keeps its own icon).
    void finished(const QString& key, bool found);

private:
    explicit FaviconLoader(QObject* parent = nullptr);

    struct Waiter
    {
        QPointer<QLabel> view;
        int points = 16;
    };

    void startNetwork(const QString& key);
    void requestIcon(const QString& key, const QUrl& url, bool thenTryPage);
    void requestPage(const QString& key);
    QNetworkReply*
    get(const QUrl& url, qint64 maxBytes, bool stopQuietlyAtLimit,
        std::function<void(bool ok, const QByteArray& body, const QUrl& finalUrl)> done);
    void decode(const QByteArray& bytes, std::function<void(const QImage&)> done);
    void succeed(const QString& key, const QImage& image, bool writeDisk);
    void fail(const QString& key);
    void show(const Waiter& waiter, const QImage& image) const;

    QNetworkAccessManager* network_;
    QHash<QString, QImage> memory_;
    QHash<QString, QList<Waiter>> pending_;
    QHash<QString, qint64> failedAt_; // epoch ms; not asked again for a while

    friend struct FaviconTesting;
};

// Test seam, never used by the application: every fetch goes to https://127.0.0.1:<port> (with
// the site's name in the Host header) and trusts `certificate`.
struct FaviconTesting
{
    static void useServer(quint16 port, const QSslCertificate& certificate);
    static void setTimeoutMs(int ms);
    // Forgets icons in memory, failures and the server; the disk cache stays.
    static void reset();
};

// The icon a home page names: the best <link rel="icon"> (or "shortcut icon", then
// "apple-touch-icon") in its head that Qt can decode, resolved against `pageUrl`; none when the
// page names none or only non-HTTPS ones.
std::optional<QUrl> iconLinkInPage(const QByteArray& html, const QUrl& pageUrl);
