// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// Requests from outside the application to end it: the termination signals that `kill`, a service
// manager or the end of a login session send (SIGTERM, SIGINT, SIGHUP). They are turned into a Qt
// signal on the main thread, so the application shuts down as it does when the user quits instead
// of dying on the spot. One instance per process; destroying it restores the default handlers.
class QuitRequests final : public QObject
{
    Q_OBJECT
public:
    explicit QuitRequests(QObject* parent = nullptr);
    ~QuitRequests() override;

Q_SIGNALS:
    // `reason` names the signal ("SIGTERM", "SIGINT", "SIGHUP").
    void quitRequested(const QString& reason);
};
