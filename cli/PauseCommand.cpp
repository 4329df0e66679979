// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PauseCommand.h"

#include "engine/Clock.h"
#include "engine/Pause.h"
#include "engine/Status.h"
#include "engine/Store.h"

#include <cmath>
#include <cstdio>

namespace {

void say(const QString& text, FILE* stream)
{
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

QString minutesText(double minutes)
{
    return QString::number(qint64(std::floor(std::max(minutes, 0.0)))) + QStringLiteral("분");
}

} // namespace

namespace PauseCommand {

int run(const Cli::Options& options)
{
    const ManualState wanted = options.pauseState;
    const double now = Clock::now();
    const ManualState current = Pause::state();
    if (current == wanted) {
        say(wanted == ManualState::work ? QStringLiteral("이미 일하는 중이에요")
                                        : QStringLiteral("이미 쉬는 중이에요"),
            stdout);
        return 0;
    }
    // A break belongs to the working hours: before them nothing is worked yet, and lunch and the
    // evening are not counted as work anyway.
    if (wanted != ManualState::work && current == ManualState::work &&
        computeStatus(now).state != DayState::working) {
        say(QStringLiteral("지금은 근무 시간이 아니라서 쉴 수 없어요"), stderr);
        return 1;
    }

    Pause::set(wanted, now);
    // The store keeps a file it cannot read rather than write over it: no success to report.
    if (!Store::standard().persistent()) {
        say(QStringLiteral("설정 파일에 쓸 수 없어요: ") + Store::standard().fileName(), stderr);
        return 1;
    }
    switch (wanted) {
    case ManualState::rest:
        say(QStringLiteral("잠깐 쉬는 중이에요. 다시 일할 땐: tockwork-cli pause work"), stdout);
        break;
    case ManualState::away:
        say(QStringLiteral("자리 비움이에요. 다시 일할 땐: tockwork-cli pause work"), stdout);
        break;
    case ManualState::work:
        say(QStringLiteral("다시 일해요. 오늘 쉰 시간: ") + minutesText(Pause::pausedMinutes(now)),
            stdout);
        break;
    }
    return 0;
}

} // namespace PauseCommand
