// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Arguments.h"
#include "cli/DayOffCommand.h"
#include "cli/HistoryCommand.h"
#include "cli/PauseCommand.h"
#include "cli/Report.h"
#include "cli/Watch.h"
#include "display/Display.h"
#include "engine/Clock.h"
#include "engine/Store.h"
#include "engine/Version.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

#include <cstdio>
#include <variant>

namespace {

int usageError(const QString& message)
{
    const QByteArray text = (message + QStringLiteral("\n\n") + Cli::usage()).toUtf8();
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    return 2;
}

QByteArray renderStatus(Cli::Style style)
{
    const Display display = currentDisplay();
    switch (style) {
    case Cli::Style::json:
        return Report::json(display);
    case Cli::Style::line:
        return (Report::line(display) + u'\n').toUtf8();
    case Cli::Style::full:
    case Cli::Style::csv: // the status has no table shape
        break;
    }
    return Report::full(display).toUtf8();
}

// The application keeps writing the store while a watch runs (slacking seconds, a new salary);
// the store reads its file once, so it is opened again whenever the file was replaced.
class StoreFollower final
{
public:
    StoreFollower() : path_(Store::standard().fileName()), stamp_(stampOf(path_)) {}

    void refresh()
    {
        const Stamp now = stampOf(path_);
        if (now == stamp_)
            return;
        stamp_ = now;
        // Read-only mode belongs to the store object and survives the re-open.
        Store::openStandardAt(path_);
    }

private:
    struct Stamp
    {
        qint64 modifiedMs = -1;
        qint64 size = -1;
        bool operator==(const Stamp&) const = default;
    };

    static Stamp stampOf(const QString& path)
    {
        const QFileInfo info(path);
        if (!info.exists())
            return {};
        return {info.lastModified().toMSecsSinceEpoch(), info.size()};
    }

    QString path_;
    Stamp stamp_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(Version::number());

    const auto parsed = Cli::parseArguments(app.arguments().mid(1));
    if (const auto* error = std::get_if<Cli::UsageError>(&parsed))
        return usageError(error->message);
    const Cli::Options& options = std::get<Cli::Options>(parsed);

    switch (options.command) {
    case Cli::Command::help:
        return Watch::writeOut(Cli::usage().toUtf8()) ? 0 : 1;
    case Cli::Command::version:
        return Watch::writeOut((Version::line() + u'\n').toUtf8()) ? 0 : 1;
    case Cli::Command::holidays:
        return Watch::writeOut(Report::holidays(options.firstYear, options.lastYear).toUtf8()) ? 0
                                                                                               : 1;
    case Cli::Command::dayoff:
        return DayOffCommand::run(options);
    case Cli::Command::pause:
        return PauseCommand::run(options);
    case Cli::Command::history:
        return HistoryCommand::run(options);
    case Cli::Command::status:
        break;
    }

    // Reading the day's records resets them on a new day; with the store read-only those writes
    // stay in this process, so the application's file is never touched, whatever --at says.
    Store::standard().setReadOnly(true);

    if (options.watch) {
        const Watch::Mode mode =
            options.style == Cli::Style::full ? Watch::Mode::screen : Watch::Mode::lines;
        StoreFollower follower;
        const auto render = [&] {
            follower.refresh();
            return renderStatus(options.style);
        };
        return Watch::run(mode, render, options.at);
    }
    if (options.at)
        Clock::freeze(*options.at);
    return Watch::writeOut(renderStatus(options.style)) ? 0 : 1;
}
