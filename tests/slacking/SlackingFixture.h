#pragma once

#include "Clock.h"
#include "Store.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every test reads and writes its own store file and runs at a fixed instant.
class SlackingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        Store::openStandardAt(storePath());
        freezeAt(QDate(2026, 3, 10), QTime(10, 30));
    }

    void TearDown() override { Clock::unfreeze(); }

    QString storePath() const { return dir_.filePath(QStringLiteral("tockwork.conf")); }

    static void freezeAt(const QDate& date, const QTime& time)
    {
        Clock::freeze(Clock::toEpoch(QDateTime(date, time)));
    }

private:
    QTemporaryDir dir_;
};
