// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Clock.h"
#include "engine/Store.h"

#include "Sandbox.h"

#include <gtest/gtest.h>

// Every test reads and writes its own store file and runs at a fixed instant.
class SlackingTest : public ::testing::Test
{
protected:
    void SetUp() override { freezeAt(QDate(2026, 3, 10), QTime(10, 30)); }
    QString storePath() const { return sandbox_.storePath(); }
    void freezeAt(QDate date, QTime time) { clock_.at(date, time); }
    // Writes the store file by hand and reopens it.
    void writeStore(const QByteArray& contents) { sandbox_.openFile(contents); }

private:
    StoreSandbox sandbox_;
    FrozenClock clock_;
};
