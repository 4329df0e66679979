// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/MascotAnimation.h"

#include <gtest/gtest.h>

namespace {

QList<QImage> framesOf(int count)
{
    QList<QImage> frames;
    for (int i = 0; i < count; ++i) {
        frames.append(QImage(4, 4, QImage::Format_ARGB32));
        frames.last().fill(QColor(10 * i, 0, 0));
    }
    return frames;
}

TEST(MascotAnimation, IntervalFollowsTheFastestAnimationWithinBounds)
{
    const std::pair<QList<QList<double>>, double> cases[] = {
        {{{0.03, 0.03}}, 0.05},                 // never faster than 20 pictures a second
        {{{0.2, 0.2}}, 0.1},                    // never slower than 10
        {{{0.5}, {0.07}, {0.09}, {0.3}}, 0.07}, // the fastest of all animations
        {{{0.0, -1.0, std::nan("")}}, 0.1},     // nonsense delays are ignored
        {{}, 0.1},                              // nothing loads
    };
    for (const auto& [delaysPerAnimation, interval] : cases) {
        qsizetype next = 0;
        const LoadedMascots loaded =
            loadMascotAnimations([&](const QString&) -> std::optional<FrameSet> {
                if (next >= delaysPerAnimation.size())
                    return std::nullopt;
                const QList<double>& delays = delaysPerAnimation.at(next++);
                return FrameSet{framesOf(int(delays.size())), delays};
            });
        EXPECT_DOUBLE_EQ(loaded.interval, interval) << delaysPerAnimation.size();
    }
}

TEST(MascotAnimation, AnimatorStepsCyclicallyAndRestartsAtFrameOneOnAMascotChange)
{
    const MascotFrameMap frames{{"ant_work", framesOf(4)}, {"ant_lunch", framesOf(3)}};
    MascotAnimator animator(frames);
    QList<int> shown;
    for (const char* mascot : {"ant_work", "ant_work", "ant_work", "ant_work", "ant_work",
                               "ant_lunch", "ant_lunch", "ant_lunch", "ant_lunch"}) {
        EXPECT_EQ(animator.step(mascot), MascotAnimator::Step::showFrame);
        shown.append(animator.frameIndex());
    }
    EXPECT_EQ(shown, (QList<int>{1, 2, 3, 0, 1, 1, 2, 0, 1}));
    EXPECT_TRUE(animator.animates("ant_lunch"));
    EXPECT_FALSE(animator.animates("ant_work"));
    // a mascot without frames: the still picture, once
    EXPECT_EQ(animator.step("home"), MascotAnimator::Step::cleared);
    EXPECT_FALSE(animator.animates("ant_lunch"));
    EXPECT_EQ(animator.step("home"), MascotAnimator::Step::idle);
}

} // namespace
