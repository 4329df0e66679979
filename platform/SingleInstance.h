// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

// One running TockWork per user session: the first start claims it, a later one hands over to it.
class SingleInstance final : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the one instance (always where the system cannot tell). The
    // claim lasts as long as this object.
    bool claim();
    // Asks the instance that holds the claim to show itself; false when it cannot be reached.
    bool activateRunningInstance();

Q_SIGNALS:
    // A later start asked this instance to show itself.
    void activationRequested();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
