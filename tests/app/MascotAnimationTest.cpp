#include "MascotAnimation.h"

#include <gtest/gtest.h>

namespace {

QList<QImage> framesOf(int count)
{
    QList<QImage> frames;
    for (int i = 0; i < count; ++i) {
        QImage frame(4, 4, QImage::Format_ARGB32);
        frame.fill(QColor(10 * i, 0, 0));
        frames.append(frame);
    }
    return frames;
}

struct IntervalCase
{
    QList<QList<double>> delaysPerAnimation; // empty: no animation loads
    double interval;
};

class Interval : public testing::TestWithParam<IntervalCase>
{};

TEST_P(Interval, FollowsTheFastestAnimationWithinBounds)
{
    const IntervalCase& c = GetParam();
    int next = 0;
    const LoadedMascots loaded =
        loadMascotAnimations([&](const QString&) -> std::optional<FrameSet> {
            if (next >= c.delaysPerAnimation.size())
                return std::nullopt;
            const QList<double> delays = c.delaysPerAnimation.at(next++);
            return FrameSet{framesOf(int(std::max<qsizetype>(1, delays.size()))), delays};
        });
    EXPECT_DOUBLE_EQ(loaded.interval, c.interval);
}

INSTANTIATE_TEST_SUITE_P(
    MascotAnimation, Interval,
    testing::Values(IntervalCase{{{0.03, 0.03}}, 0.05}, IntervalCase{{{0.2, 0.2}}, 0.1},
                    IntervalCase{{{0.02}}, 0.05},
                    IntervalCase{{{0.2, 0.08, 0.1}, {0.1, 0.1}}, 0.08},
                    IntervalCase{{{0.5}, {0.07}, {0.09}, {0.3}}, 0.07},
                    // No delays at all count as 0.1; nonsense delays are ignored.
                    IntervalCase{{{}}, 0.1}, IntervalCase{{{0.0, -1.0, std::nan("")}}, 0.1},
                    IntervalCase{{}, 0.1}));

TEST(MascotAnimation, LoadsTheFourMascotsInOrderAndSkipsMissingOnes)
{
    QStringList asked;
    const LoadedMascots loaded =
        loadMascotAnimations([&](const QString& name) -> std::optional<FrameSet> {
            asked.append(name);
            if (name == QLatin1String("ant_over"))
                return std::nullopt;
            if (name == QLatin1String("home"))
                return FrameSet{}; // decodes to nothing
            return FrameSet{framesOf(3), {0.1, 0.1, 0.1}};
        });
    EXPECT_EQ(asked, (QStringList{"ant_work", "ant_over", "ant_lunch", "home"}));
    EXPECT_EQ(loaded.frames.keys().size(), 2);
    EXPECT_TRUE(loaded.frames.contains("ant_work"));
    EXPECT_TRUE(loaded.frames.contains("ant_lunch"));
}

class Animator : public testing::Test
{
protected:
    void SetUp() override
    {
        menubarAntFrame.reset();
        menubarFrameMascot.clear();
    }
    void TearDown() override { SetUp(); }
};

TEST_F(Animator, StepsCyclicallyAndRestartsAtFrameOneOnAMascotChange)
{
    const MascotFrameMap frames{
        {"ant_work", framesOf(4)}, {"ant_over", framesOf(4)}, {"ant_lunch", framesOf(3)}};
    MascotAnimator animator(frames);

    QList<int> shown;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(animator.step("ant_work"), MascotAnimator::Step::showFrame);
        shown.append(animator.frameIndex());
    }
    EXPECT_EQ(shown, (QList<int>{1, 2, 3, 0, 1}));
    EXPECT_EQ(menubarFrameMascot, "ant_work");
    EXPECT_EQ(*menubarAntFrame, frames["ant_work"].at(1));

    animator.step("ant_over");
    EXPECT_EQ(animator.frameIndex(), 1);
    EXPECT_EQ(menubarFrameMascot, "ant_over");

    shown.clear();
    for (int i = 0; i < 4; ++i) {
        animator.step("ant_lunch");
        shown.append(animator.frameIndex());
    }
    EXPECT_EQ(shown, (QList<int>{1, 2, 0, 1}));
}

TEST_F(Animator, MascotWithoutFramesClearsOnceThenIdles)
{
    MascotAnimator animator({{"ant_work", framesOf(2)}});
    animator.step("ant_work");
    ASSERT_TRUE(menubarAntFrame);

    EXPECT_EQ(animator.step("home"), MascotAnimator::Step::cleared);
    EXPECT_FALSE(menubarAntFrame);
    EXPECT_TRUE(menubarFrameMascot.isEmpty());
    EXPECT_EQ(animator.step("home"), MascotAnimator::Step::idle);
    EXPECT_EQ(animator.step("home"), MascotAnimator::Step::idle);

    // Frames are found again as soon as the day shows an animated mascot.
    EXPECT_EQ(animator.step("ant_work"), MascotAnimator::Step::showFrame);
    EXPECT_EQ(menubarFrameMascot, "ant_work");
}

} // namespace
