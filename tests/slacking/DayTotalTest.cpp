#include "SlackingFixture.h"

#include "Wollu.h"

#include <QFile>

#include <limits>

namespace {

using DayTotalTest = SlackingTest;

TEST_F(DayTotalTest, AccumulatesWithinADayAndResets)
{
    Wollu::add(10);
    Wollu::add(2.5);
    // Flushed: a fresh reader of the file sees the same total.
    Store::openStandardAt(storePath());
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 12.5);
    EXPECT_EQ(Store::standard().text(QStringLiteral("wolluDay")), QStringLiteral("2026-3-10"));

    Wollu::reset();
    Wollu::add(5);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 5.0);
}

TEST_F(DayTotalTest, NewDayStartsFromZero)
{
    freezeAt(QDate(2026, 3, 10), QTime(23, 59, 55));
    Wollu::add(600);
    freezeAt(QDate(2026, 3, 11), QTime(0, 0, 5));
    Wollu::add(10);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 10.0);

    // Reading alone on the next day also starts over.
    freezeAt(QDate(2026, 3, 12), QTime(9, 0));
    EXPECT_EQ(Wollu::seconds(), 0.0);
}

TEST_F(DayTotalTest, BadAmountsAndBadStoredValuesDoNotCorruptTheTotal)
{
    Wollu::add(100);
    Wollu::add(std::numeric_limits<double>::quiet_NaN());
    Wollu::add(std::numeric_limits<double>::infinity());
    Wollu::add(-50);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 100.0);

    {
        QFile file(storePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\nwolluDay=2026-3-10\nwolluSec=garbage\n");
    }
    Store::openStandardAt(storePath());
    Wollu::add(7);
    EXPECT_DOUBLE_EQ(Wollu::seconds(), 7.0);
}

TEST_F(DayTotalTest, SwitchesPersist)
{
    EXPECT_FALSE(Wollu::disabled() || Wollu::hidden());
    Wollu::setDisabled(true);
    Wollu::toggleHidden();
    Store::openStandardAt(storePath());
    EXPECT_TRUE(Wollu::disabled() && Wollu::hidden());
    Wollu::toggleHidden();
    EXPECT_FALSE(Wollu::hidden());
}

} // namespace
