#include "EngineTestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();
constexpr qint64 kMin = std::numeric_limits<qint64>::min();

struct TextReading
{
    const char* stored; // the value as it stands in the file
    qint64 integer;
    bool boolean;
    double real;
};

class StoreTextReading : public EngineTest, public ::testing::WithParamInterface<TextReading>
{};

// Texts in the file convert like a desktop defaults store: a leading number counts, nothing
// else falls back to a default.
TEST_P(StoreTextReading, convertsTextToEveryKind)
{
    const TextReading& r = GetParam();
    openFile(QByteArray("[General]\nk=\"") + r.stored + "\"\n");
    const Store& store = Store::standard();
    EXPECT_EQ(store.integer("k"), r.integer);
    EXPECT_EQ(store.boolean("k"), r.boolean);
    EXPECT_DOUBLE_EQ(store.real("k"), r.real);
    EXPECT_EQ(store.text("k"), QString::fromUtf8(r.stored));
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, StoreTextReading,
    ::testing::Values(TextReading{"540", 540, true, 540}, TextReading{"abc", 0, false, 0},
                      TextReading{"12abc", 12, true, 12}, TextReading{"  -7", -7, true, -7},
                      TextReading{"3.9", 3, true, 3.9}, TextReading{"1e3", 1, true, 1000},
                      TextReading{"true", 1, true, 1}, TextReading{"false", 0, false, 0},
                      TextReading{"YES", 0, true, 0}, TextReading{"no", 0, false, 0},
                      TextReading{"0007", 7, true, 7}, TextReading{"00", 0, false, 0},
                      TextReading{"", 0, false, 0},
                      TextReading{"99999999999999999999", kMax, true, 1e20},
                      TextReading{"-99999999999999999999", kMin, true, -1e20}));

TEST_F(EngineTest, typedValuesConvertWithinRange)
{
    Store& store = Store::standard();
    store.set("d", 3.99);
    store.set("huge", 1e300);
    store.set("tiny", -1e300);
    store.set("nan", std::nan(""));
    store.set("yes", true);
    store.set("zero", qint64(0));
    EXPECT_EQ(store.integer("d"), 3);
    EXPECT_EQ(store.integer("huge"), kMax);
    EXPECT_EQ(store.integer("tiny"), kMin);
    EXPECT_EQ(store.integer("nan"), 0);
    EXPECT_EQ(store.real("nan"), 0);
    EXPECT_FALSE(store.boolean("nan"));
    EXPECT_EQ(store.integer("yes"), 1);
    EXPECT_FALSE(store.boolean("zero"));
    EXPECT_EQ(store.text("absent"), std::nullopt);
    EXPECT_EQ(store.integer("absent"), 0);
}

// QSettings reads an unquoted comma-separated value as a list; the text must survive it.
TEST_F(EngineTest, handWrittenCommaListReadsAsText)
{
    openFile("[General]\nwolluApps=카카오톡,유튜브, 넷플릭스\n");
    EXPECT_EQ(Store::standard().text("wolluApps"), QStringLiteral("카카오톡,유튜브,넷플릭스"));
}

TEST_F(EngineTest, writtenTextsRoundTripThroughTheFile)
{
    const QStringList texts = {QStringLiteral("카카오톡,유튜브, 넷플릭스"),
                               QStringLiteral("@Variant(\\0\\0\\0\\x7f)"),
                               QStringLiteral("줄 하나\n줄 둘; \"따옴표\" = \\"),
                               QStringLiteral("  spaces around  "),
                               QStringLiteral("a,b"),
                               QString()};
    Store& store = Store::standard();
    for (int i = 0; i < texts.size(); ++i)
        store.set(QStringLiteral("t%1").arg(i), texts[i]);
    store.set("n", qint64(-42));
    store.set("x", 0.1);
    store.flush();

    // A copy under another name is parsed from disk, not served from QSettings' own cache.
    const QString copy = dir_.filePath("copy.conf");
    ASSERT_TRUE(QFile::copy(storePath(), copy));
    const Store reread(copy);
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(reread.text(QStringLiteral("t%1").arg(i)), texts[i]) << i;
    EXPECT_EQ(reread.integer("n"), -42);
    EXPECT_DOUBLE_EQ(reread.real("x"), 0.1);
}

TEST_F(EngineTest, readOnlyStoreNeverTouchesTheFile)
{
    openFile("[General]\nworkStart=600\ndinnerSec=12\n");
    const QString file = Store::standard().fileName();
    const QByteArray before = readFile(file);
    const QDateTime modified = QFileInfo(file).lastModified();

    Store& store = Store::standard();
    store.setReadOnly(true);
    store.set("workStart", qint64(700));
    store.set("new", QStringLiteral("값"));
    store.remove("dinnerSec");
    store.flush();
    Cfg::save(1, 2, 3, 4, 5, false);

    EXPECT_EQ(store.integer("workStart"), 1); // Cfg::save wrote last
    EXPECT_EQ(store.text("new"), QStringLiteral("값"));
    EXPECT_FALSE(store.contains("dinnerSec"));
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(QFileInfo(file).lastModified(), modified);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(EngineTest, unparsableFileIsKeptBesideBeforeTheFirstWrite)
{
    const QByteArray bad = "[General\nworkStart=600\n[Other]\nkeep=1\n";
    openFile(bad);
    Store& store = Store::standard();
    store.set("workEnd", qint64(1000));
    store.flush();

    const QStringList copies = QDir(dir_.path()).entryList({"hand.conf.bad-*"}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readFile(dir_.filePath(copies.front())), bad);
    EXPECT_EQ(store.integer("workEnd"), 1000);
}

} // namespace
