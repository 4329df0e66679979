// SPDX-License-Identifier: GPL-3.0-or-later
#include "EngineTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();
constexpr qint64 kMin = std::numeric_limits<qint64>::min();

// Texts in the file convert like a desktop defaults store: a leading number counts, nothing
// else falls back to a default.
TEST_F(EngineTest, storedTextsConvertToEveryKind)
{
    struct R
    {
        const char* stored; // the value as it stands in the file
        qint64 integer;
        bool boolean;
        double real;
    };
    int n = 0;
    for (const R& r : {R{"abc", 0, false, 0}, R{"12abc", 12, true, 12}, R{"  -7", -7, true, -7},
                       R{"3.9", 3, true, 3.9}, R{"1e3", 1, true, 1000}, R{"YES", 0, true, 0},
                       R{"0007", 7, true, 7}, R{"00", 0, false, 0}, R{"", 0, false, 0},
                       R{"99999999999999999999", kMax, true, 1e20},
                       R{"-99999999999999999999", kMin, true, -1e20}}) {
        SCOPED_TRACE(r.stored);
        openFile(QByteArray("[General]\nk=\"") + r.stored + "\"\n", QString::number(n++));
        const Store& s = Store::standard();
        EXPECT_EQ(std::tuple(s.integer("k"), s.boolean("k"), s.real("k"), s.text("k")),
                  std::tuple(r.integer, r.boolean, r.real, QString::fromUtf8(r.stored)));
    }
}

TEST_F(EngineTest, typedValuesConvertWithinRangeAndHandWrittenListsStayText)
{
    Store& store = Store::standard();
    store.set("huge", 1e300);
    store.set("tiny", -1e300);
    store.set("nan", std::nan(""));
    EXPECT_EQ(store.integer("huge"), kMax);
    EXPECT_EQ(store.integer("tiny"), kMin);
    EXPECT_FALSE(store.integer("nan") || store.real("nan") || store.boolean("nan"));
    EXPECT_EQ(store.text("absent"), std::nullopt);
    // QSettings reads an unquoted comma-separated value as a list; the text must survive it.
    openFile("[General]\nwolluApps=카카오톡,유튜브, 넷플릭스\n");
    EXPECT_EQ(Store::standard().text("wolluApps"), QStringLiteral("카카오톡,유튜브,넷플릭스"));
}

TEST_F(EngineTest, writtenTextsRoundTripThroughTheFile)
{
    const QStringList texts = {QStringLiteral("카카오톡,유튜브, 넷플릭스"),
                               QStringLiteral("@Variant(\\0\\0\\0\\x7f)"),
                               QStringLiteral("줄 하나\n줄 둘; \"따옴표\" = \\"), QString()};
    Store& store = Store::standard();
    for (int i = 0; i < texts.size(); ++i)
        store.set(QStringLiteral("t%1").arg(i), texts[i]);
    store.flush();
    const Store reread = onDisk();
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(reread.text(QStringLiteral("t%1").arg(i)), texts[i]) << i;
}

TEST_F(EngineTest, readOnlyStoreNeverTouchesTheFile)
{
    openFile("[General]\nworkStart=600\ndinnerSec=12\n");
    const QString file = Store::standard().fileName();
    const QByteArray before = readFile(file);
    const QDateTime modified = QFileInfo(file).lastModified();

    Store& store = Store::standard();
    store.setReadOnly(true);
    store.remove("dinnerSec");
    store.flush();
    Cfg::save(1, 2, 3, 4, 5, false);

    EXPECT_EQ(store.integer("workStart"), 1);
    EXPECT_FALSE(store.contains("dinnerSec"));
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(QFileInfo(file).lastModified(), modified);
    EXPECT_EQ(QDir(sandbox_.dir()).entryList(QDir::Files).size(), 1);
}

// The file is replaced only when a write changes what it says, whatever kind the value was
// written as and however it was read back.
TEST_F(EngineTest, writingTheValueAlreadyStoredLeavesTheFileAlone)
{
    openFile("[General]\nworkStart=600\nratio=0.5\nflag=true\nname=x\n", "tockwork.conf");
    Store& store = Store::standard();
    const quint64 inode = StoreSandbox::inode(storePath());
    const quint64 revision = store.revision();
    store.set("workStart", qint64(600));
    store.set("ratio", 0.5);
    store.set("flag", true);
    store.set("name", QStringLiteral("x"));
    store.flush();
    EXPECT_EQ(StoreSandbox::inode(storePath()), inode);
    EXPECT_EQ(store.revision(), revision);

    store.set("workStart", qint64(601));
    store.flush();
    EXPECT_NE(StoreSandbox::inode(storePath()), inode);
    EXPECT_GT(store.revision(), revision);
    EXPECT_EQ(onDisk().integer("workStart"), 601);
}

// A folder that cannot take the file (here a plain file stands where the folder should be)
// fails the write, says so, and the same values reach the file once it can take them.
TEST_F(EngineTest, aFailedWriteIsReportedAndRetriedByTheNextFlush)
{
    const QString blocker = sandbox_.filePath("blocked");
    QFile(blocker).open(QIODevice::WriteOnly);
    const QString path = blocker + "/tockwork.conf";
    Store::openStandardAt(path);
    Store& store = Store::standard();
    store.set("workStart", qint64(480));
    store.flush();
    EXPECT_FALSE(store.persistent());

    ASSERT_TRUE(QFile::remove(blocker));
    ASSERT_TRUE(QDir().mkpath(blocker));
    store.set("workStart", qint64(480)); // the user saves the same again
    store.flush();
    EXPECT_TRUE(store.persistent());
    EXPECT_TRUE(readFile(path).contains("workStart=480"));
}

TEST_F(EngineTest, unparsableFileIsKeptBesideBeforeTheFirstWrite)
{
    const QByteArray bad = "[General\nworkStart=600\n[Other]\nkeep=1\n";
    openFile(bad);
    Store::standard().set("workEnd", qint64(1000));
    Store::standard().flush();

    const QStringList copies = QDir(sandbox_.dir()).entryList({"hand.conf.bad-*"}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readFile(sandbox_.filePath(copies.front())), bad);
    EXPECT_EQ(Store::standard().integer("workEnd"), 1000);
}

} // namespace
