// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/TabReport.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class QLocalServer;
class QLocalSocket;

// The active-tab addresses our browser extension reports through its native host. Only the
// latest address per browser is kept, in memory; nothing of it is written anywhere.
class BrowserTabs final : public QObject
{
    Q_OBJECT
public:
    explicit BrowserTabs(QObject* parent = nullptr);
    ~BrowserTabs() override;

    // Listens at `path` (TabReports::socketPath() by default), replacing a socket left behind by
    // a process that is gone. False when it cannot.
    bool listen(const QString& path = {});
    QString path() const;

    // The latest address for the window of process `pid` of `browser`: the report of that very
    // process if there is one, else the latest of the same browser. None when it never reported.
    std::optional<QString> latest(const QString& browser, qint64 pid) const;

    void accept(const TabReport& report);
    // The browsers whose extension reported in this run, by name, sorted.
    QStringList connectedBrowsers() const;

    static constexpr int kMaxClients = 32;
    // A connection that has sent no report this long after it opened is dropped: the host sends
    // as soon as it connects, and idle connections must not keep it out.
    static constexpr int kSilentTimeoutMs = 5000;

Q_SIGNALS:
    // A browser's extension reported for the first time in this run: the user installed it.
    void browserConnected(const QString& browser);

private:
    void read(QLocalSocket* socket);
    void admit(QLocalSocket* socket);
    void drop(QLocalSocket* socket);

    QLocalServer* server_ = nullptr;
    QHash<QString, QString> byBrowser_;
    QList<TabReport> byProcess_; // newest last, a handful at most
    QSet<QString> connected_;
    int clients_ = 0;
    QList<QLocalSocket*> silent_; // connections without a report yet, oldest first
};

// The settings window's line on browsers: those that report exact addresses (at most two named,
// the rest counted), or that window titles stand in while none does.
QStringList browserAddressLines(const QStringList& connectedBrowsers);
