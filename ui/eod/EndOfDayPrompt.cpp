// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/eod/EndOfDayPrompt.h"

#include "analytics/Analytics.h"
#include "analytics/Derived.h"
#include "engine/Clock.h"
#include "engine/Eod.h"
#include "engine/Status.h"
#include "ui/eod/EodWindowController.h"

#include <QEventLoop>

namespace {

const QString kSource = QStringLiteral("source");

} // namespace

EndOfDayPrompt::EndOfDayPrompt(QObject* parent) : QObject(parent)
{}

EndOfDayPrompt::~EndOfDayPrompt() = default;

void EndOfDayPrompt::setAppearance(std::optional<bool> dark)
{
    if (appearance_ == dark)
        return;
    appearance_ = dark;
    if (isOpen())
        controller_->setAppearance(dark);
}

bool EndOfDayPrompt::isOpen() const
{
    return controller_ && controller_->isOpen();
}

bool EndOfDayPrompt::askEndOfDay(const QString& source)
{
    if (isOpen())
        return false;
    const Status s = computeStatus(Clock::now());
    const qint64 workedMin = Analytics::Derived::workedMin(s);
    const qint64 overtimeMin = Analytics::Derived::overtimeMin(s);
    Analytics::track(Analytics::Event::eodPromptShown,
                     {{kSource, source},
                      {QStringLiteral("worked_min"), workedMin},
                      {QStringLiteral("overtime_min"), overtimeMin},
                      {QStringLiteral("wollu_min"), Analytics::Derived::wolluMin()}});

    // The previous window goes once its answer has been handled.
    controller_ = std::make_unique<EodWindowController>();
    controller_->setActivates(activates_);
    if (appearance_)
        controller_->setAppearance(appearance_);
    connect(controller_.get(), &EodWindowController::answered, this,
            [this, source, workedMin, overtimeMin](bool leaving) {
                answer(leaving, source, workedMin, overtimeMin);
            });
    controller_->show();
    Q_EMIT opened();
    return true;
}

std::optional<QString> EndOfDayPrompt::askAndWait(const QString& source)
{
    std::optional<QString> result;
    QEventLoop loop;
    const QMetaObject::Connection done =
        connect(this, &EndOfDayPrompt::chosen, &loop, [&](const QString& choice) {
            result = choice;
            loop.quit();
        });
    if (askEndOfDay(source) && !result)
        loop.exec();
    disconnect(done);
    return result;
}

void EndOfDayPrompt::answer(bool leaving, const QString& source, qint64 workedMin,
                            qint64 overtimeMin)
{
    const QString choice = leaving ? QStringLiteral("left") : QStringLiteral("overtime");
    Eod::choose(choice);
    Analytics::track(
        Analytics::Event::eodChoiceMade,
        {{QStringLiteral("choice"), choice},
         {kSource, source},
         {QStringLiteral("worked_min"), workedMin},
         {QStringLiteral("overtime_min"), overtimeMin},
         {QStringLiteral("wollu_min"), Analytics::Derived::wolluMin()},
         {QStringLiteral("minutes_past_work_end"), Analytics::Derived::minutesPastWorkEnd()}});
    Q_EMIT chosen(choice);
}
