// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DayState.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks the process to do.
enum class LaunchMode
{
    tray, // the normal tray application
    contactSheet,
    panelPreview,
    twoPanels,
    fourPanels,
    settingsPreview,
    eodPreview,
    installBrowserSupport,
    installDesktopSupport,
    version,
    help,
    usageError, // say what is wrong and how it is used, start nothing
};

// Read by the tray application as it starts.
struct StartOptions
{
    bool scriptedDemo = false;         // "--demo" anywhere
    std::optional<DayState> demoState; // "--state <value>"

    bool operator==(const StartOptions&) const = default;
};

struct LaunchCommand
{
    LaunchMode mode = LaunchMode::tray;
    QString path;         // output file of the contact sheet and the panel preview
    bool openAdd = false; // the settings preview opens the add dialog
    bool demoRun = false; // analytics treats the run as a demo and reports nothing real
    StartOptions start;
    QString error; // for usageError: what was wrong, in Korean

    bool operator==(const LaunchCommand&) const = default;
};

// The one reading of the command line; `args` holds the program path as argument 0, exactly as
// the process received it (Qt's own options such as "-platform" or "-session" included).
LaunchCommand parseCommandLine(const QStringList& args);

// Modes that only write files need no display server (Qt draws on its offscreen platform).
bool writesFilesOnly(LaunchMode mode);

// "근무"/"working", "점심"/"lunch", ...; none for anything else ("before" has no value).
std::optional<DayState> previewStateFromArgument(const QString& value);

// The switches, in Korean, as `--help` prints them.
QString usage();
