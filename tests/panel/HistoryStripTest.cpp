// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's history strip: which days get a bar and how tall it is, the totals line, reading
// the ledger at most once a minute, the click between week and month, and pictures of it in
// light and dark at 1x and 2x (kept in test-screens/history/ for a look).
#include "ui/panel/HistoryStrip.h"
#include "analytics/Analytics.h"
#include "engine/Clock.h"
#include "engine/DaysOff.h"
#include "ledger/Ledger.h"
#include "render/Appearance.h"
#include "render/Colors.h"
#include "render/MonaFont.h"
#include "render/Resources.h"
#include "ui/toolkit/GlassView.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "Sandbox.h"

namespace {

// The build's art and pixel font, in place before the first widget asks for them.
class BuiltAssets final : public testing::Environment
{
public:
    void SetUp() override
    {
        Analytics::setDemoRun();
        Resources::setBundleDir(QStringLiteral(TOCKWORK_BUILT_SHARE_DIR));
        registerMonaFont();
    }
};
const testing::Environment* const kAssets = testing::AddGlobalTestEnvironment(new BuiltAssets);

// Thursday 3 December 2026; the week's working days before it are 30 Nov to 2 Dec, and the
// strip reaches back to Wednesday 25 November.
const QDate kToday(2026, 12, 3);

bool weekdaysOnly(const QDate& date)
{
    return date.dayOfWeek() < Qt::Saturday;
}

// A 09:00-18:00 day with an hour's lunch at 10,000 won an hour: 80,000 won when complete.
DayRecord day(const QDate& date, double earnedWon, double slackSec = 0, double overtimeMin = 0,
              double overtimeWon = 0, DayKind kind = DayKind::working)
{
    DayRecord r;
    r.date = date;
    r.kind = kind;
    r.workStart = 540;
    r.workEnd = 1080;
    r.lunchStart = 720;
    r.lunchEnd = 780;
    r.workedMin = earnedWon / 10000.0 * 60;
    r.earnedWon = earnedWon;
    r.hourlyWon = 10000;
    r.hourlyLegalWon = 9500;
    r.slackSec = slackSec;
    r.overtimeMin = overtimeMin;
    r.overtimeWon = overtimeWon;
    return r;
}

QList<QDate> datesOf(const HistoryView& view)
{
    QList<QDate> dates;
    for (const HistorySlot& s : view.slots)
        dates << s.date;
    return dates;
}

// ---- which days, how tall ----

TEST(HistoryFigures, TheWeekIsTheLastSevenWorkingDaysWithGapsWhereNothingRan)
{
    const QList<DayRecord> rows = {day(QDate(2026, 11, 25), 80000), day(QDate(2026, 11, 27), 80000),
                                   day(kToday, 40000)};
    const HistoryView view = historyView(HistorySpan::week, kToday, rows, weekdaysOnly, 31);

    EXPECT_EQ(datesOf(view),
              (QList<QDate>{QDate(2026, 11, 25), QDate(2026, 11, 26), QDate(2026, 11, 27),
                            QDate(2026, 11, 30), QDate(2026, 12, 1), QDate(2026, 12, 2), kToday}));
    EXPECT_TRUE(view.slots[0].row.has_value());
    EXPECT_FALSE(view.slots[1].row.has_value()) << "a working day without a row is a gap";
    EXPECT_EQ(view.slots[1].barPx, 0);
    EXPECT_TRUE(view.slots.last().today);
    // The totals are those of the bars drawn, back into the week before.
    for (const HistorySlot& s : view.slots)
        EXPECT_EQ(s.counted, s.row.has_value()) << s.date.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(view.from, QDate(2026, 11, 25));
    EXPECT_EQ(view.heading, QStringLiteral("최근 7일"));
    EXPECT_EQ(view.totals.days, 3);
    EXPECT_EQ(view.moneyText, QStringLiteral("200,000원"));
}

TEST(HistoryFigures, AWeekendShowsOnlyWhenItWasPaid)
{
    const QDate saturday(2026, 11, 28), sunday(2026, 11, 29);
    const QList<DayRecord> rows = {day(saturday, 0, 0, 120, 30000, DayKind::weekend),
                                   day(sunday, 0, 0, 0, 0, DayKind::weekend)};
    const HistoryView view = historyView(HistorySpan::week, kToday, rows, weekdaysOnly, 31);
    EXPECT_TRUE(datesOf(view).contains(saturday)) << "overtime on a Saturday earned money";
    EXPECT_FALSE(datesOf(view).contains(sunday)) << "the app merely ran on Sunday";
    EXPECT_EQ(view.totals.days, 1) << "a day without a bar is not in the totals";
    EXPECT_EQ(view.slots.size(), 7);
    EXPECT_EQ(view.slots.first().date, QDate(2026, 11, 26)) << "the Saturday took a slot";
}

TEST(HistoryFigures, BarsScaleToAFullDayAndTheirRedTopToTheSlackingShare)
{
    const QList<DayRecord> rows = {
        day(QDate(2026, 12, 1), 80000),           // a full day: the tallest
        day(QDate(2026, 12, 2), 80000, 3600 * 2), // 20,000 of 80,000 slacked: a quarter red
        day(kToday, 40000, 1),                    // half a day so far, one second of slacking
        day(QDate(2026, 11, 30), 0, 0, 0, 0),     // ran, earned nothing
    };
    const HistoryView view = historyView(HistorySpan::week, kToday, rows, weekdaysOnly, 31);
    const auto slot = [&](const QDate& date) {
        for (const HistorySlot& s : view.slots)
            if (s.date == date)
                return s;
        ADD_FAILURE() << "no slot for " << date.toString(Qt::ISODate).toStdString();
        return HistorySlot{};
    };
    EXPECT_EQ(slot(QDate(2026, 12, 1)).barPx, 31);
    EXPECT_EQ(slot(QDate(2026, 12, 1)).slackPx, 0);
    EXPECT_EQ(slot(QDate(2026, 12, 2)).barPx, 31);
    EXPECT_EQ(slot(QDate(2026, 12, 2)).slackPx, 7) << "a quarter of the 29 rows inside the outline";
    EXPECT_EQ(slot(kToday).barPx, 16) << "half of a full day, not the tallest of the few shown";
    EXPECT_EQ(slot(kToday).slackPx, 1) << "any slacking shows";
    EXPECT_TRUE(slot(QDate(2026, 11, 30)).row.has_value());
    EXPECT_EQ(slot(QDate(2026, 11, 30)).barPx, 0);
}

TEST(HistoryFigures, OddFiguresNeverMakeOddBars)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    DayRecord noRate = day(QDate(2026, 12, 1), 500);
    noRate.hourlyWon = 0; // no salary set: the tallest bar is the day itself
    const QList<DayRecord> rows = {day(QDate(2026, 11, 30), nan, inf), noRate,
                                   day(QDate(2026, 12, 2), 1e300, 1e300, 1e9, inf),
                                   day(kToday, -5000, -10)};
    const HistoryView view = historyView(HistorySpan::week, kToday, rows, weekdaysOnly, 31);
    for (const HistorySlot& s : view.slots) {
        SCOPED_TRACE(s.date.toString(Qt::ISODate).toStdString());
        EXPECT_GE(s.barPx, 0);
        EXPECT_LE(s.barPx, 31);
        EXPECT_GE(s.slackPx, 0);
        EXPECT_LE(s.slackPx, std::max(0, s.barPx - 2));
    }
    EXPECT_FALSE(view.totalsLine().contains(QStringLiteral("nan")));
    EXPECT_FALSE(view.totalsLine().contains(u'-'));
}

TEST(HistoryFigures, TheTotalsLineReadsAsTheTerminalsDoes)
{
    // 230,000 won of regular pay and 382,400 of overtime; 2 h 5 min slacked at 10,000 won an
    // hour is 20,833 won, 9 % of the regular pay.
    const QList<DayRecord> rows = {day(QDate(2026, 11, 30), 80000, 3600, 100, 200000),
                                   day(QDate(2026, 12, 1), 80000, 3900, 90, 182400),
                                   day(kToday, 70000, 0)};
    const HistoryView week = historyView(HistorySpan::week, kToday, rows, weekdaysOnly, 31);
    EXPECT_EQ(week.totalsLine(),
              QStringLiteral("최근 7일 612,400원 · 야근 3시간 10분 · 월루 2시간 5분 (9%)"));

    const HistoryView month = historyView(HistorySpan::month, kToday, rows, weekdaysOnly, 31);
    EXPECT_EQ(month.totalsLine(), QStringLiteral("이번 달 332,400원 · 야근 1시간 30분 · 월루 "
                                                 "1시간 5분 (7%)"))
        << "the month began on Tuesday the 1st";

    const HistoryView none = historyView(HistorySpan::week, kToday, {}, weekdaysOnly, 31);
    EXPECT_EQ(none.totalsLine(), QStringLiteral("최근 7일 0원 · 야근 0분 · 월루 0분"))
        << "no share without pay";
}

TEST(HistoryFigures, TheMonthShowsItsWorkingDaysToComeAsSuch)
{
    const HistoryView view =
        historyView(HistorySpan::month, kToday, {day(kToday, 40000)}, weekdaysOnly, 31);
    EXPECT_EQ(view.slots.size(), 23) << "the weekdays of December 2026";
    EXPECT_EQ(view.slots.first().date, QDate(2026, 12, 1));
    EXPECT_EQ(view.slots.last().date, QDate(2026, 12, 31));
    for (const HistorySlot& s : view.slots) {
        EXPECT_EQ(s.future, s.date > kToday);
        EXPECT_EQ(s.counted, s.date == kToday) << "only today has a row, and a bar";
    }
}

TEST(HistoryFigures, ThePublicCalendarDecidesTheWorkingDays)
{
    StoreSandbox store;
    // Christmas 2026 is a Friday and a public holiday.
    EXPECT_FALSE(calendarWorkingDay(QDate(2026, 12, 25)));
    EXPECT_FALSE(calendarWorkingDay(QDate(2026, 12, 26)));
    EXPECT_TRUE(calendarWorkingDay(QDate(2026, 12, 24)));
    // A paid day off stays a working day: its bar shows the day's pay.
    DaysOff::add({QDate(2026, 12, 24), DayOffPart::fullDay, {}});
    EXPECT_TRUE(calendarWorkingDay(QDate(2026, 12, 24)));
}

// ---- the widget over a real ledger ----

class HistoryStripLedger : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("days.sqlite"));
    }
    void write(const QList<DayRecord>& rows)
    {
        Ledger ledger(path_, Ledger::Access::readWrite);
        ASSERT_TRUE(ledger.isOpen()) << ledger.errorText().toStdString();
        for (const DayRecord& r : rows)
            ASSERT_TRUE(ledger.upsert(r)) << ledger.errorText().toStdString();
    }

    ScopedTimeZone zone_{"Asia/Seoul"};
    StoreSandbox store_;
    FrozenClock clock_{kToday, QTime(15, 0)};
    QTemporaryDir dir_;
    QString path_;
};

TEST_F(HistoryStripLedger, ReadsAtMostOnceAMinuteAndAtOnceOnANewDay)
{
    write({day(QDate(2026, 12, 2), 80000), day(kToday, 40000)});
    HistoryStrip strip;
    strip.setLedgerPath(path_);
    strip.refresh();
    EXPECT_EQ(strip.reads(), 1);
    EXPECT_EQ(strip.view().moneyText, QStringLiteral("120,000원"));

    write({day(kToday, 50000)});
    Clock::advance(59);
    strip.refresh();
    EXPECT_EQ(strip.reads(), 1) << "within the minute nothing is read";
    Clock::advance(1);
    strip.refresh();
    EXPECT_EQ(strip.reads(), 2);
    EXPECT_EQ(strip.view().moneyText, QStringLiteral("130,000원")) << "today's row as rewritten";

    clock_.at(QDate(2026, 12, 4), QTime(0, 0, 5));
    strip.refresh();
    EXPECT_EQ(strip.reads(), 3) << "the day changed";
    EXPECT_TRUE(strip.view().slots.last().today);
    EXPECT_EQ(strip.view().slots.last().date, QDate(2026, 12, 4));
}

TEST_F(HistoryStripLedger, WithATodaySourceTodayFollowsTheDayBetweenReadings)
{
    write({day(QDate(2026, 12, 2), 80000), day(kToday, 40000)});
    HistoryStrip strip;
    strip.setLedgerPath(path_);
    // Today as the panel has it: 10 won a second more than the row written at the start.
    const double start = Clock::now();
    std::optional<DayRecord> given;
    strip.setTodaySource([&](double now, const std::optional<DayRecord>& written) {
        given = written;
        return day(Clock::toLocal(now).date(), 40000 + (now - start) * 10);
    });
    strip.refresh();
    ASSERT_TRUE(given.has_value());
    EXPECT_EQ(given->earnedWon, 40000) << "the source is handed the row as written";
    EXPECT_EQ(strip.view().moneyText, QStringLiteral("120,000원"));

    Clock::advance(30);
    strip.refresh();
    EXPECT_EQ(strip.reads(), 1) << "the ledger is still read once a minute";
    EXPECT_EQ(strip.view().moneyText, QStringLiteral("120,300원"));
    EXPECT_EQ(strip.accessibleName(), strip.view().totalsLine());

    // A new day has no row yet: today's slot comes from the source alone.
    clock_.at(QDate(2026, 12, 4), QTime(9, 0));
    strip.refresh();
    EXPECT_FALSE(given.has_value());
    ASSERT_TRUE(strip.view().slots.last().row.has_value());
    EXPECT_EQ(strip.view().slots.last().date, QDate(2026, 12, 4));
}

TEST_F(HistoryStripLedger, WithoutALedgerEveryDayIsAGapAndNoFileAppears)
{
    HistoryStrip strip;
    strip.setLedgerPath(path_);
    strip.refresh();
    EXPECT_FALSE(QFileInfo::exists(path_)) << "reading never writes";
    EXPECT_EQ(strip.view().slots.size(), 7);
    for (const HistorySlot& s : strip.view().slots)
        EXPECT_FALSE(s.row.has_value());
    EXPECT_EQ(strip.view().moneyText, QStringLiteral("0원"));
    EXPECT_FALSE(strip.unreadable()) << "no ledger yet is no failure";

    // The application writes its first row: the next reading finds it.
    write({day(kToday, 40000)});
    Clock::advance(60);
    strip.refresh();
    EXPECT_EQ(strip.view().moneyText, QStringLiteral("40,000원"));
}

TEST_F(HistoryStripLedger, AFrozenClockNeverShowsTheUsersOwnHistory)
{
    store_.useAsHome();
    path_ = Ledger::standardPath();
    ASSERT_TRUE(path_.startsWith(store_.dir())) << path_.toStdString();
    write({day(kToday, 40000)});
    HistoryStrip strip;
    strip.refresh();
    EXPECT_EQ(strip.view().totals.days, 0) << "a scene showed the user's ledger";
}

TEST_F(HistoryStripLedger, AFileThatIsNoLedgerReadsAsNoRows)
{
    QFile junk(path_);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    HistoryStrip strip;
    strip.setLedgerPath(path_);
    strip.setTodaySource([](double, const std::optional<DayRecord>&) { return day(kToday, 1); });
    strip.refresh();
    EXPECT_EQ(strip.view().totals.days, 0) << "today alone passed for the history";
    EXPECT_EQ(QFileInfo(path_).size(), 4096) << "left as it was";
    // Not an empty history: the strip says the file could not be read.
    EXPECT_TRUE(strip.unreadable());
    EXPECT_EQ(strip.accessibleName(), HistoryStrip::unreadableText());
}

TEST_F(HistoryStripLedger, AClickSwitchesBetweenWeekAndMonth)
{
    write({day(QDate(2026, 11, 27), 80000), day(QDate(2026, 12, 1), 80000), day(kToday, 40000)});
    HistoryStrip strip;
    strip.setLedgerPath(path_);
    strip.refresh();
    QSignalSpy spans(&strip, &HistoryStrip::spanChanged);
    const auto click = [&] {
        const QPointF at(100, 60);
        QMouseEvent press(QEvent::MouseButtonPress, at, strip.mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, strip.mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&strip, &press);
        QCoreApplication::sendEvent(&strip, &release);
    };

    click();
    ASSERT_EQ(spans.size(), 1);
    EXPECT_EQ(strip.span(), HistorySpan::month);
    EXPECT_EQ(strip.view().heading, QStringLiteral("이번 달"));
    EXPECT_EQ(strip.view().moneyText, QStringLiteral("120,000원")) << "November stays out";
    EXPECT_EQ(strip.reads(), 2) << "the month is read at once";

    click();
    EXPECT_EQ(strip.span(), HistorySpan::week);
    EXPECT_EQ(strip.view().heading, QStringLiteral("최근 7일"));
    EXPECT_EQ(strip.accessibleName(), strip.view().totalsLine());
}

// ---- what it looks like ----

const QString kShots = QStringLiteral(TOCKWORK_HISTORY_SHOTS_DIR);

// The strip on the panel's glass, as the window shows it.
QImage stripShot(HistoryStrip& strip, bool dark, qreal ratio)
{
    strip.setAppearance(dark);
    strip.setPixelRatio(ratio);
    const QSize margin(8, 8);
    QImage image((QSizeF(strip.size() + 2 * margin) * ratio).toSize(),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    QColor glass = GlassView::fillColor(dark);
    glass.setAlpha(255);
    image.fill(glass);
    QPainter painter(&image);
    strip.render(&painter, QPoint(margin.width(), margin.height()), QRegion(),
                 QWidget::DrawChildren);
    painter.end();
    return image;
}

bool hasColourNear(const QImage& image, const QRect& pixels, const QColor& colour)
{
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                12)
                return true;
        }
    return false;
}

TEST_F(HistoryStripLedger, PicturesInLightAndDarkAreCrispAndShowMoneyAndSlacking)
{
    write({day(QDate(2026, 11, 25), 80000, 1800), day(QDate(2026, 11, 26), 80000, 0, 60, 15000),
           day(QDate(2026, 11, 30), 80000, 5400),
           day(QDate(2026, 12, 1), 80000, 0, 0, 0, DayKind::dayOff),
           day(QDate(2026, 12, 2), 80000, 2400, 130, 32000), day(kToday, 50000, 1200)});
    QDir().mkpath(kShots);
    HistoryStrip strip;
    strip.setLedgerPath(path_);
    strip.refresh();
    for (const HistorySpan span : {HistorySpan::week, HistorySpan::month}) {
        strip.setSpan(span);
        for (const bool dark : {false, true}) {
            for (const qreal ratio : {1.0, 2.0}) {
                SCOPED_TRACE(testing::Message() << (span == HistorySpan::week ? "week " : "month ")
                                                << (dark ? "dark " : "light ") << ratio << "x");
                const QImage image = stripShot(strip, dark, ratio);
                image.save(kShots +
                           QStringLiteral("/history-%1-%2-%3x.png")
                               .arg(span == HistorySpan::week ? QStringLiteral("week")
                                                              : QStringLiteral("month"),
                                    dark ? QStringLiteral("dark") : QStringLiteral("light"))
                               .arg(ratio));
                const int r = int(ratio);
                const QRect bars(8 * r, 8 * r, HistoryStrip::kWidth * r,
                                 HistoryStrip::kBarsHeight * r);
                // Whole pixels: at 2x every bar pixel is a 2 x 2 block of one colour.
                if (r == 2) {
                    int mixed = 0;
                    for (int y = bars.top(); y < bars.bottom(); y += 2)
                        for (int x = bars.left(); x < bars.right(); x += 2) {
                            const QRgb p = image.pixel(x, y);
                            mixed += image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                                     image.pixel(x + 1, y + 1) != p;
                        }
                    EXPECT_EQ(mixed, 0) << "blurred or half-pixel bar edges";
                }
                QColor green, red;
                {
                    const AppearancePin pin(dark);
                    green = barGreenColor();
                    red = wolluRedColor();
                }
                EXPECT_TRUE(hasColourNear(image, bars, green)) << "money bars";
                EXPECT_TRUE(hasColourNear(image, bars, red)) << "slacking tops";
            }
        }
    }
}

TEST_F(HistoryStripLedger, ReadingAMonthIsCheap)
{
    // Ten years of rows, as a long-time user has them; the strip reads at most a month of them.
    // Written in one transaction (the ledger itself commits, and syncs, one day at a time).
    write({day(kToday, 80000, 600)});
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bulk");
        db.setDatabaseName(path_);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(db.transaction());
        QSqlQuery q(db);
        q.prepare(
            QStringLiteral("INSERT INTO days (day, kind, work_start, work_end, lunch_start,"
                           " lunch_end, earned_won, hourly_won, slack_sec, final)"
                           " VALUES (?, 'working', 540, 1080, 720, 780, 80000, 10000, 600, 1)"));
        for (QDate d = kToday.addYears(-10); d < kToday; d = d.addDays(1)) {
            q.addBindValue(d.toString(Qt::ISODate));
            ASSERT_TRUE(q.exec());
        }
        ASSERT_TRUE(db.commit());
    }
    QSqlDatabase::removeDatabase("bulk");
    HistoryStrip strip;
    strip.setLedgerPath(path_);
    QElapsedTimer first;
    first.start();
    strip.setSpan(HistorySpan::month); // opens the file and reads
    std::printf("history strip: first month read, opening the file, %.0f us\n",
                first.nsecsElapsed() / 1000.0);
    QElapsedTimer timer;
    timer.start();
    constexpr int kReads = 50;
    for (int i = 0; i < kReads; ++i)
        strip.reload();
    // Reported, not asserted: a figure for the notes (the speed target lives in the benchmark).
    RecordProperty("month_reload_us", int(timer.nsecsElapsed() / 1000 / kReads));
    std::printf("history strip: month reload %.0f us\n", timer.nsecsElapsed() / 1000.0 / kReads);
    EXPECT_EQ(strip.view().totals.days, 3);
}

} // namespace
