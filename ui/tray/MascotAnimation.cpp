// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/MascotAnimation.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFastest = 0.05;
constexpr double kSlowest = 0.1;

} // namespace

double smallestDelay(const QList<double>& durations)
{
    double smallest = kSlowest;
    bool any = false;
    for (double d : durations) {
        // A broken GIF header can carry zero, negative or absurd delays; they must not stall or
        // race the timer.
        if (!std::isfinite(d) || d <= 0)
            continue;
        smallest = any ? std::min(smallest, d) : d;
        any = true;
    }
    return smallest;
}

double animationInterval(const QList<double>& smallestDelays)
{
    double interval = kSlowest;
    for (double d : smallestDelays)
        if (std::isfinite(d))
            interval = std::min(interval, d);
    return std::max(kFastest, interval);
}

LoadedMascots loadMascotAnimations(const FrameLoader& load)
{
    LoadedMascots loaded;
    QList<double> minima;
    for (const QString& name : kMascotAnimations) {
        std::optional<FrameSet> set = load(name);
        if (!set || set->frames.isEmpty())
            continue;
        loaded.frames.insert(name, set->frames);
        minima.append(smallestDelay(set->durations));
    }
    loaded.interval = animationInterval(minima);
    return loaded;
}

MascotAnimator::MascotAnimator(MascotFrameMap frames) : frames_(std::move(frames))
{}

MascotAnimator::Step MascotAnimator::step(const QString& mascot)
{
    const auto it = frames_.constFind(mascot);
    if (it != frames_.constEnd() && !it->isEmpty()) {
        if (animMascot_ != mascot) {
            animMascot_ = mascot;
            antIdx_ = 0;
        }
        // After a change of mascot the first frame shown is frame 1, and frame 0 follows the last.
        antIdx_ = (antIdx_ + 1) % int(it->size());
        showing_ = true;
        return Step::showFrame;
    }
    if (!showing_)
        return Step::idle;
    showing_ = false;
    return Step::cleared;
}
