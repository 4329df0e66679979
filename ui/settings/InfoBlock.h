#pragma once

#include <QString>
#include <QStringList>

// The two short lists at the foot of the settings window: what counts as slacking, and how
// overtime is paid.
namespace InfoBlock {

struct Section
{
    QString heading;
    QStringList lines; // each begins with "· "
};

Section slackingCriteria();
Section overtimeAllowance();

// ---- Browser addresses ------------------------------------------------------------------------
// The lines that say which browsers report the exact address of their active tab, so a listed
// site is recognised there. They belong to the slacking criteria, after the sites line; the
// browser probes fill them in when they exist. Empty until then: the window's heights grow by one
// line step for every line returned here.
QStringList browserAddressLines();

// Vertical step between two lines of a section.
inline constexpr int kLineStep = 14;
int extraLineCount(); // lines beyond the fixed ones (browserAddressLines)

} // namespace InfoBlock
