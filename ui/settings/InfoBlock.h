// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The two short lists at the foot of the settings window: what counts as slacking, and how
// overtime is paid.
namespace InfoBlock {

struct Section
{
    QString heading;
    QStringList lines; // each begins with "· "
};

// ---- Browser addresses ------------------------------------------------------------------------
// Lines that say which browsers report the exact address of their active tab, so a listed site is
// recognised there (and, before them, which facility of the desktop names the app in front). They
// follow the apps and sites line of the slacking criteria. The settings know nothing of browsers
// or desktops: whoever does (the application, which owns the probes) hands the settings window a
// function that gives the lines, asked again at every layout, so they follow what the probes
// learn. The window's heights grow by one line step for every line given.
using LinesProvider = std::function<QStringList()>;
// The provider's lines, one row each however they were written; none without a provider.
QStringList browserAddressLines(const LinesProvider& provider);

// Vertical step between two lines of a section.
inline constexpr int kLineStep = 14;

// The browser lines are asked for once per layout and handed in, so the window's height and the
// lines it shows always agree.
Section slackingCriteria(const QStringList& browserLines = {});
Section overtimeAllowance();

} // namespace InfoBlock
