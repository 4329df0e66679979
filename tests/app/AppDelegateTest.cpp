// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppDelegate.h"
#include "analytics/Analytics.h"
#include "engine/Clock.h"
#include "engine/Preview.h"
#include "engine/Store.h"
#include "render/Resources.h"
#include "ui/tray/TrayIcon.h"
#include "ui/tray/TrayPlatform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include "Sandbox.h"

namespace {

// A tray that records the pictures the application hands it, drawn as a 22-pixel slot shows them.
struct FakeTray final : TrayPlatform
{
    FakeTray(QList<QImage>& out, double min) : images(out), minInterval(min) {}
    void setSprite(const TraySprite& sprite) override
    {
        images.append(renderTrayImage(sprite, 22));
    }
    void setToolTip(const QString&, const QString&) override {}
    void setMenu(QMenu*) override {}
    void setCallbacks(TrayCallbacks) override {}
    double minImageIntervalSec() const override { return minInterval; }
    QList<QImage>& images;
    double minInterval;
};

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
        Analytics::setDemoRun();                // nothing leaves the process
        Resources::setBundleDir(sandbox.dir()); // no art: the tray shows the still picture
    }
    void TearDown() override { Preview::demoState.reset(); }

    std::unique_ptr<AppDelegate> launch(FrameLoader frames, QStringList args = {"tockwork"})
    {
        auto delegate = std::make_unique<AppDelegate>(
            std::make_unique<FakeTray>(images, minInterval), std::move(frames));
        delegate->applicationDidFinishLaunching(args);
        return delegate;
    }

    StoreSandbox sandbox;
    // A Wednesday at 10:00 in Seoul (the test's TZ): working hours under the default schedule.
    FrozenClock clock{QDate(2025, 3, 12), QTime(10, 0)};
    QList<QImage> images;
    double minInterval = 0;
};

TEST_F(Delegate, TheTrayIsHandedAPictureOnlyWhenItsPixelsChange)
{
    // Two distinct frames per animated mascot, identical ones at lunch; "home" is missing.
    const QList<QImage> distinct{solid(Qt::red), solid(Qt::blue)};
    const QList<QImage> same{solid(Qt::green), solid(Qt::green)};
    const FrameLoader frames = [&](const QString& name) -> std::optional<FrameSet> {
        if (name.startsWith(QLatin1String("home")))
            return std::nullopt;
        return FrameSet{name.startsWith(QLatin1String("ant_lunch")) ? same : distinct, {0.2, 0.2}};
    };
    auto delegate = launch(frames, {"tockwork", "--state", "근무"});
    ASSERT_EQ(images.size(), 1) << "start-up renders the tray once";
    ASSERT_TRUE(delegate->tray()->animating());
    EXPECT_DOUBLE_EQ(delegate->tray()->animationIntervalSec(), 0.1);
    qsizetype before = images.size();
    for (QDeadlineTimer deadline(5000); images.size() - before < 2 && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_GE(images.size() - before, 2) << "the animation timer steps the tray on its own";

    const auto pushesOver = [&](int steps) {
        before = images.size();
        for (int i = 0; i < steps; ++i)
            delegate->tray()->animationStep();
        return images.size() - before;
    };
    EXPECT_EQ(pushesOver(4), 4) << "alternating frames each change the picture";
    EXPECT_NE(images.last(), images.at(images.size() - 2));
    Preview::demoState = DayState::lunch;
    delegate->tray()->animationStep();
    EXPECT_EQ(pushesOver(4), 0) << "identical frames: stepping goes on, the tray hears nothing";
    Preview::demoState = DayState::done;
    EXPECT_EQ(pushesOver(1), 1) << "no frames for the mascot: cleared once";
    EXPECT_EQ(pushesOver(3), 0);
    for (int i = 0; i < 5; ++i, Clock::advance(10))
        delegate->update();
    EXPECT_EQ(images.size(), before) << "time passes, the picture stays: nothing is pushed";

    minInterval = 0.25; // a tray that pays per picture slows the whole animation down
    EXPECT_DOUBLE_EQ(launch(frames)->tray()->animationIntervalSec(), 0.25);
}

} // namespace
