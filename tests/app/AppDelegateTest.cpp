#include "AppDelegate.h"
#include "Clock.h"
#include "FakeTray.h"
#include "GuiTestApp.h"
#include "Preview.h"
#include "Resources.h"
#include "Store.h"
#include "analytics/Analytics.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

QImage solid(QColor colour)
{
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

class Delegate : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Store::openStandardAt(dir.filePath("tockwork.conf"));
        // Nothing leaves the process and nothing is written beside the user's files.
        Analytics::setDemoRun();
        // An empty art folder: without frames the tray shows the still picture (or nothing).
        Resources::setBundleDir(dir.path());
        // A Wednesday at 10:00 in Seoul: working hours under the default schedule.
        Clock::freeze(
            Clock::toEpoch(QDateTime(QDate(2025, 3, 12), QTime(10, 0), QTimeZone("Asia/Seoul"))));
        Preview::demoState.reset();
        menubarAntFrame.reset();
        menubarFrameMascot.clear();
    }
    void TearDown() override
    {
        Preview::demoState.reset();
        menubarAntFrame.reset();
        menubarFrameMascot.clear();
        Clock::unfreeze();
    }

    std::unique_ptr<AppDelegate> launch(FrameLoader frames, QStringList args = {"tockwork"})
    {
        auto delegate =
            std::make_unique<AppDelegate>(std::make_unique<FakeTray>(tray), std::move(frames));
        delegate->applicationDidFinishLaunching(args);
        return delegate;
    }

    QTemporaryDir dir;
    FakeTray::Record tray;
};

const FrameLoader kNoArt = [](const QString&) { return std::nullopt; };

TEST_F(Delegate, UpdateHandsTheTrayAPictureOnlyWhenItsPixelsChange)
{
    auto delegate = launch(kNoArt);
    ASSERT_EQ(tray.images.size(), 1) << "start-up renders the tray once";
    EXPECT_FALSE(delegate->animating());

    for (int i = 0; i < 5; ++i) {
        Clock::advance(10);
        delegate->update();
    }
    EXPECT_EQ(tray.images.size(), 1);
    EXPECT_EQ(delegate->trayItem()->imagePushes(), 1);
}

TEST_F(Delegate, AnimationPushesEachNewFrameAndNothingWhileFramesRepeat)
{
    // Two distinct frames per animated mascot; "home" is missing on purpose.
    const QList<QImage> distinct{solid(Qt::red), solid(Qt::blue)};
    const QList<QImage> same{solid(Qt::green), solid(Qt::green)};
    auto delegate = launch(
        [&](const QString& name) -> std::optional<FrameSet> {
            if (name == QLatin1String("home"))
                return std::nullopt;
            return FrameSet{name == QLatin1String("ant_lunch") ? same : distinct, {0.2, 0.2}};
        },
        {"tockwork", "--state", "근무"});
    ASSERT_TRUE(delegate->animating());
    EXPECT_DOUBLE_EQ(delegate->animationIntervalSec(), 0.1);
    const qsizetype atStart = tray.images.size();

    for (int i = 0; i < 4; ++i)
        delegate->animationStep();
    EXPECT_EQ(tray.images.size() - atStart, 4) << "alternating frames each change the picture";
    EXPECT_NE(tray.images.last(), tray.images.at(tray.images.size() - 2));

    // Identical frames: stepping goes on but the tray hears nothing.
    Preview::demoState = DayState::lunch;
    delegate->animationStep();
    const qsizetype afterSwitch = tray.images.size();
    for (int i = 0; i < 4; ++i)
        delegate->animationStep();
    EXPECT_EQ(tray.images.size(), afterSwitch);

    // No frames for the mascot: cleared once, then quiet.
    Preview::demoState = DayState::done;
    delegate->animationStep();
    const qsizetype afterClear = tray.images.size();
    for (int i = 0; i < 3; ++i)
        delegate->animationStep();
    EXPECT_EQ(tray.images.size(), afterClear);
}

TEST_F(Delegate, TimersRunOnTheirOwnAndTheStateSwitchIsApplied)
{
    auto delegate = launch(
        [](const QString&) -> std::optional<FrameSet> {
            return FrameSet{{solid(Qt::red), solid(Qt::blue)}, {0.03, 0.03}};
        },
        {"tockwork", "--state", "야근"});
    EXPECT_EQ(Preview::demoState, DayState::overtime);
    EXPECT_DOUBLE_EQ(delegate->animationIntervalSec(), 0.05);
    const qsizetype atStart = tray.images.size();
    QTest::qWait(300);
    EXPECT_GE(tray.images.size() - atStart, 2) << "the animation timer steps the tray picture";
}

TEST_F(Delegate, ATrayThatPaysPerPictureSlowsTheWholeAnimationDown)
{
    tray.minInterval = 0.25;
    auto delegate = launch([](const QString&) -> std::optional<FrameSet> {
        return FrameSet{{solid(Qt::red), solid(Qt::blue)}, {0.03, 0.03}};
    });
    EXPECT_DOUBLE_EQ(delegate->animationIntervalSec(), 0.25);
}

TEST_F(Delegate, ScriptedDemoNeverLeavesAnInvisibleProcess)
{
    auto delegate = launch(kNoArt, {"tockwork", "--demo"});
    EXPECT_TRUE(Preview::demoMode);
    EXPECT_EQ(tray.installs, 1);
    Preview::demoMode = false;
}

TEST(StatusItemTray, WaitsForATrayAndInstallsTheIconWhenOneAppears)
{
    FakeTray::Record tray;
    tray.available = false;
    StatusItem item(std::make_unique<FakeTray>(tray), 50);
    EXPECT_EQ(tray.installs, 1);

    QTest::qWait(150);
    EXPECT_EQ(tray.installs, 1);
    tray.available = true;
    QTest::qWait(150);
    EXPECT_EQ(tray.installs, 2) << "a tray that appeared later gets the icon";
    QTest::qWait(150);
    EXPECT_EQ(tray.installs, 2) << "a tray that stays needs nothing more";
}

} // namespace
