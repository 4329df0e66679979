#include "Arguments.h"
#include "Clock.h"
#include "Display.h"
#include "Report.h"
#include "Store.h"
#include "Watch.h"

#include <QCoreApplication>

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
        break;
    }
    return Report::full(display).toUtf8();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    const auto parsed = Cli::parseArguments(app.arguments().mid(1));
    if (const auto* error = std::get_if<Cli::UsageError>(&parsed))
        return usageError(error->message);
    const Cli::Options& options = std::get<Cli::Options>(parsed);

    switch (options.command) {
    case Cli::Command::help:
        return Watch::writeOut(Cli::usage().toUtf8()) ? 0 : 1;
    case Cli::Command::holidays:
        return Watch::writeOut(Report::holidays(options.firstYear, options.lastYear).toUtf8()) ? 0
                                                                                               : 1;
    case Cli::Command::status:
        break;
    }

    // Reading the day's records resets them on a new day; with the store read-only those writes
    // stay in this process, so the application's file is never touched, whatever --at says.
    Store::standard().setReadOnly(true);

    if (options.watch) {
        const Watch::Mode mode =
            options.style == Cli::Style::full ? Watch::Mode::screen : Watch::Mode::lines;
        return Watch::run(
            mode, [&] { return renderStatus(options.style); }, options.at);
    }
    if (options.at)
        Clock::freeze(*options.at);
    return Watch::writeOut(renderStatus(options.style)) ? 0 : 1;
}
