// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/Store.h"

#include "Sandbox.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

// Each test: Seoul time, its own store file in a temporary folder, a frozen clock.
class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override { freezeAt(2026, 3, 10, 9, 0); }

    QString storePath() const { return sandbox_.storePath(); }

    // Writes `contents` as the store file and opens the standard store on it.
    void openFile(const QByteArray& contents, const QString& name = QStringLiteral("hand.conf"))
    {
        sandbox_.openFile(contents, name);
    }
    // A copy under another name is parsed from disk, not served from QSettings' own cache.
    Store onDisk() const
    {
        const QString copy = sandbox_.filePath(QStringLiteral("copy.conf"));
        QFile::remove(copy);
        EXPECT_TRUE(QFile::copy(storePath(), copy));
        return Store(copy);
    }
    static QByteArray readFile(const QString& path) { return StoreSandbox::readFile(path); }
    static double at(int y, int mo, int d, int h, int mi, int s = 0)
    {
        return Clock::toEpoch(QDateTime(QDate(y, mo, d), QTime(h, mi, s)));
    }
    static void freezeAt(int y, int mo, int d, int h, int mi, int s = 0)
    {
        Clock::freeze(at(y, mo, d, h, mi, s));
    }
    // Wednesday 14 January 2026, an ordinary working day.
    static double on14th(int h, int m, int s = 0) { return at(2026, 1, 14, h, m, s); }
    static double freeze14th(int h, int m, int s = 0)
    {
        Clock::freeze(on14th(h, m, s));
        return Clock::now();
    }

    ScopedTimeZone zone_{"Asia/Seoul"};
    StoreSandbox sandbox_;
    FrozenClock clock_;
};
