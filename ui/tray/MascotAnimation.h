// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "render/Art.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The animations loaded at launch, in the order they are asked for.
inline const QStringList kMascotAnimations{QStringLiteral("ant_work"), QStringLiteral("ant_over"),
                                           QStringLiteral("ant_lunch"), QStringLiteral("home")};

using MascotFrameMap = QHash<QString, QList<QImage>>;
using FrameLoader = std::function<std::optional<FrameSet>(const QString& name)>;

struct LoadedMascots
{
    MascotFrameMap frames;
    // The shortest per-animation delay, kept between 0.05 and 0.1 seconds: all animations step
    // together at this one interval.
    double interval = 0.1;
};

LoadedMascots loadMascotAnimations(const FrameLoader& load);

// interval = max(0.05, min(0.1, every given per-animation minimum)).
double animationInterval(const QList<double>& smallestDelays);
// The smallest of one animation's delays; 0.1 when it has none that make sense.
double smallestDelay(const QList<double>& durations);

// Steps through the frames of the mascot the day currently shows.
class MascotAnimator final
{
public:
    enum class Step
    {
        showFrame, // a new frame was chosen
        cleared,   // the mascot has no frames: the tray falls back to its still picture
        idle,      // nothing changed, the tray needs no new picture
    };

    explicit MascotAnimator(MascotFrameMap frames = {});

    Step step(const QString& mascot);

    bool empty() const { return frames_.isEmpty(); }
    int frameIndex() const { return antIdx_; }
    const QString& mascot() const { return animMascot_; }
    // Whether the last step chose a frame of `mascot`: the tray shows that frame rather than the
    // still picture until the next step catches up with a change of mascot.
    bool animates(const QString& mascot) const { return showing_ && animMascot_ == mascot; }

private:
    MascotFrameMap frames_;
    int antIdx_ = 0;
    QString animMascot_;
    bool showing_ = false;
};
