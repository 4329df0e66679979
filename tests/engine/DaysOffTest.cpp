// SPDX-License-Identifier: GPL-3.0-or-later
#include "EngineTestSupport.h"

#include "display/Display.h"
#include "engine/DaysOff.h"
#include "engine/SettingsKeys.h"
#include "engine/Status.h"

#include <QLocale>

#include <ostream>

// gtest's fallback prints a QString byte by byte through its QChar iterator and can crash.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const DayOff& d, std::ostream* os)
{
    *os << d.date.toString(Qt::ISODate).toStdString() << '@'
        << DaysOff::partName(d.part).toStdString() << ':' << d.note.toStdString();
}

namespace {

// Wednesday 14 January 2026 in a month of 21 working days; 3,000,000 won over 8-hour days is
// 142,857 won a day.
class DaysOffTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
        Cfg::save(540, 1080, 720, 780, 3000000, true);
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::system());
        EngineTest::TearDown();
    }
    static const QDate wednesday;
    static void take(DayOffPart part, const QString& note = {})
    {
        DaysOff::add({wednesday, part, note});
    }
};

const QDate DaysOffTest::wednesday{2026, 1, 14};

TEST_F(DaysOffTest, NotesWithTheCharactersIniFilesSplitOnReadBackFromTheFile)
{
    const QString note = QStringLiteral("병원, 은행; a=b \"따옴표\" 100% \\ | 끝");
    DaysOff::add({QDate(2026, 12, 31), DayOffPart::afternoon, note});
    DaysOff::add({QDate(2026, 12, 24), DayOffPart::fullDay, {}});
    DaysOff::add({QDate(2026, 12, 24), DayOffPart::morning, QStringLiteral("바뀜")}); // replaces

    const QString stored = *Store::standard().text(SettingsKeys::daysOff);
    EXPECT_FALSE(stored.contains(u',')) << stored.toStdString();
    const QList<DayOff> expected = {{QDate(2026, 12, 24), DayOffPart::morning, "바뀜"},
                                    {QDate(2026, 12, 31), DayOffPart::afternoon, note}};
    EXPECT_EQ(DaysOff::parse(onDisk().text(SettingsKeys::daysOff).value_or(QString())).days,
              expected);
    EXPECT_EQ(DaysOff::list(), expected);

    EXPECT_TRUE(DaysOff::remove(QDate(2026, 12, 24)));
    EXPECT_FALSE(DaysOff::remove(QDate(2026, 12, 24)));
    EXPECT_EQ(DaysOff::list().size(), 1);
}

TEST_F(DaysOffTest, HandWrittenListsReadAndWhatCannotBeReadSurvivesARewrite)
{
    // Unquoted, QSettings reads this as a list of three; the store joins it with commas again.
    openFile("[General]\ndaysOff=2026-01-14, 2026-01-15@PM:반차 ,someday\n");
    EXPECT_EQ(DaysOff::list(),
              (QList<DayOff>{{QDate(2026, 1, 14), DayOffPart::fullDay, {}},
                             {QDate(2026, 1, 15), DayOffPart::afternoon, "반차"}}));
    for (const char* bad : {"2026-02-30", "2026-1-14", "2026-01-14@noon", "%zz"})
        EXPECT_EQ(DaysOff::parse(QString::fromUtf8(bad)).days.size(), 0) << bad;
    EXPECT_EQ(DaysOff::parse(QStringLiteral("2026-01-14:100%zz")).days.value(0).note,
              QStringLiteral("100%zz"));

    DaysOff::remove(QDate(2026, 1, 14));
    EXPECT_TRUE(readFile(Store::standard().fileName())
                    .contains("\ndaysOff=2026-01-15@pm:\xEB\xB0\x98\xEC\xB0\xA8|someday\n"))
        << readFile(Store::standard().fileName()).toStdString();
}

// A paid day is paid: it stays one of the month's working days and earns the whole day.
TEST_F(DaysOffTest, FullDayOffIsOffYetPaidAndStaysAWorkingDay)
{
    freeze14th(10, 30);
    const int workingDays = Cfg::workingDaysThisMonth();
    take(DayOffPart::fullDay, QStringLiteral("연차"));
    EXPECT_EQ(Cfg::workingDaysThisMonth(), workingDays);
    EXPECT_EQ(workingDays, 21);

    const Status s = computeStatus(Clock::now());
    EXPECT_EQ(s.state, DayState::off);
    EXPECT_EQ(s.dayOff, DayOffPart::fullDay);
    EXPECT_DOUBLE_EQ(s.paidOffMin, 480);
    EXPECT_DOUBLE_EQ(s.workedMin, 0);
    const Display d = currentDisplay();
    EXPECT_EQ(d.title, QStringLiteral("오늘은 유급 휴가 🏖️"));
    EXPECT_EQ(d.earnedText, QStringLiteral("(세전)142,857원 벌었어요"));
    EXPECT_EQ(d.workedText, QStringLiteral("-"));
    EXPECT_EQ(d.mascot, QStringLiteral("home"));
    EXPECT_EQ(sleptWorkSeconds(on14th(9, 0), on14th(17, 0)), 0);

    // A day the calendar already gives off stays a plain day off.
    DaysOff::add({QDate(2026, 1, 17), DayOffPart::fullDay, {}});
    const Status saturday = computeStatus(at(2026, 1, 17, 10, 0));
    EXPECT_EQ(saturday.state, DayState::off);
    EXPECT_FALSE(saturday.dayOff);
    EXPECT_DOUBLE_EQ(saturday.paidOffMin, 0);
}

// Half days have no lunch break; the off half's pay is earned; the day ends with the worked half.
TEST_F(DaysOffTest, HalfDaysMoveTheScheduleAndEndWithoutOvertime)
{
    struct C
    {
        DayOffPart part;
        int h, m;
        DayState state;
        double worked, remain, paidOff;
    };
    for (const C& c : {C{DayOffPart::morning, 10, 0, DayState::before, 0, 300, 180},
                       C{DayOffPart::morning, 14, 0, DayState::working, 60, 240, 180},
                       C{DayOffPart::morning, 18, 0, DayState::done, 300, 0, 180},
                       C{DayOffPart::morning, 23, 0, DayState::done, 300, 0, 180},
                       C{DayOffPart::afternoon, 10, 0, DayState::working, 60, 120, 300},
                       C{DayOffPart::afternoon, 12, 0, DayState::done, 180, 0, 300},
                       C{DayOffPart::afternoon, 19, 0, DayState::done, 180, 0, 300}}) {
        take(c.part);
        const Status s = computeStatus(freeze14th(c.h, c.m));
        EXPECT_EQ(s.state, c.state) << c.h;
        EXPECT_DOUBLE_EQ(s.workedMin, c.worked) << c.h;
        EXPECT_DOUBLE_EQ(s.remainMin, c.remain) << c.h;
        EXPECT_DOUBLE_EQ(s.paidOffMin, c.paidOff) << c.h;
        EXPECT_DOUBLE_EQ(s.overtimeMin, 0) << c.h;
    }

    take(DayOffPart::morning);
    freeze14th(10, 0);
    Display d = currentDisplay();
    EXPECT_EQ(d.title, QStringLiteral("오전 반차 ☀️"));
    EXPECT_EQ(d.earnedText, QStringLiteral("(세전)53,571원 벌었어요")); // the paid morning
    freeze14th(18, 30);
    d = currentDisplay();
    EXPECT_EQ(d.title, QStringLiteral("반차 퇴근! 🌿"));
    EXPECT_EQ(d.earnedText, QStringLiteral("(세전)142,857원 벌었어요"));
    // Sleep counts only inside the worked half.
    EXPECT_DOUBLE_EQ(sleptWorkSeconds(on14th(12, 0), on14th(20, 0)), 5 * 3600);
}

// The running application sees what the terminal companion wrote at its next look at the file.
TEST_F(DaysOffTest, AnotherWriterReachesTheRunningStoreAndStagedValuesStay)
{
    Store& store = Store::standard();
    EXPECT_FALSE(store.reloadIfChanged());
    store.stage(QStringLiteral("pauseDay"), QStringLiteral("2026-3-10"));
    {
        Store companion(store.fileName());
        companion.set(SettingsKeys::daysOff, QStringLiteral("2026-03-10"));
        companion.flush();
    }
    EXPECT_TRUE(store.reloadIfChanged());
    EXPECT_EQ(DaysOff::on(QDate(2026, 3, 10)).value_or(DayOff{}).date, QDate(2026, 3, 10));
    EXPECT_EQ(store.text(QStringLiteral("pauseDay")), QStringLiteral("2026-3-10"));
    EXPECT_FALSE(store.reloadIfChanged());
    // Its own writes are no news.
    store.set(QStringLiteral("workStart"), 600);
    store.flush();
    EXPECT_FALSE(store.reloadIfChanged());
}

// A day reset staged in memory gives way to what another writer has written since: the terminal's
// break of today reaches a running application that has not written today's record yet.
TEST_F(DaysOffTest, AKeyAnotherWriterWroteReplacesTheStagedReset)
{
    Store& store = Store::standard();
    store.stage(QStringLiteral("pauseDay"), QStringLiteral("2026-3-10"));
    store.stage(QStringLiteral("manualState"), QStringLiteral("work"));
    {
        Store companion(store.fileName());
        companion.set(QStringLiteral("pauseDay"), QStringLiteral("2026-3-10"));
        companion.set(QStringLiteral("manualState"), QStringLiteral("rest"));
        companion.flush();
    }
    EXPECT_TRUE(store.reloadIfChanged());
    EXPECT_EQ(store.text(QStringLiteral("manualState")), QStringLiteral("rest"));
    // Nothing staged is left to write the reset back over the break.
    store.set(QStringLiteral("workStart"), 600);
    store.flush();
    EXPECT_EQ(Store(store.fileName()).text(QStringLiteral("manualState")), QStringLiteral("rest"));
}

} // namespace
