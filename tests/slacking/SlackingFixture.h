#pragma once

#include "engine/Clock.h"
#include "engine/Store.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every test reads and writes its own store file and runs at a fixed instant.
class SlackingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Store::openStandardAt(storePath());
        freezeAt(QDate(2026, 3, 10), QTime(10, 30));
    }
    void TearDown() override { Clock::unfreeze(); }
    QString storePath() const { return dir_.filePath(QStringLiteral("tockwork.conf")); }
    static void freezeAt(QDate date, QTime time) { Clock::freeze(Clock::toEpoch({date, time})); }
    // Writes the store file by hand and reopens it.
    void writeStore(const QByteArray& contents)
    {
        QFile file(storePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        file.close();
        Store::openStandardAt(storePath());
    }

private:
    QTemporaryDir dir_;
};
