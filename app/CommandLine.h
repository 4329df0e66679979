#pragma once

#include "engine/DayState.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the first argument asks the process to do.
enum class LaunchMode
{
    tray, // the normal tray application
    contactSheet,
    panelPreview,
    twoPanels,
    fourPanels,
    settingsPreview,
    eodPreview,
};

struct LaunchCommand
{
    LaunchMode mode = LaunchMode::tray;
    QString path;         // output file of the contact sheet and the panel preview
    bool openAdd = false; // the settings preview opens the add dialog
    bool demoRun = false; // analytics treats the run as a demo and reports nothing real

    bool operator==(const LaunchCommand&) const = default;
};

// `args` holds the program path as argument 0, exactly as the process received it.
LaunchCommand parseCommandLine(const QStringList& args);

// Modes that only write files need no display server.
bool writesFilesOnly(LaunchMode mode);

// Read by the tray application as it starts.
struct StartOptions
{
    bool scriptedDemo = false;         // "--demo" anywhere
    std::optional<DayState> demoState; // "--state <value>"

    bool operator==(const StartOptions&) const = default;
};

StartOptions parseStartOptions(const QStringList& args);

// "근무"/"working", "점심"/"lunch", ...; none for anything else ("before" has no value).
std::optional<DayState> previewStateFromArgument(const QString& value);
