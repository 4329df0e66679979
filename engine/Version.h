// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The release this build belongs to. It is set in one place, the top-level CMakeLists.txt
// (`project(... VERSION ...)`), and reaches the package, the metainfo and analytics from there.
namespace Version {

// "0.1.0"
QString number();
// "tockwork 0.1.0": what `--version` prints, for the tray application and the companion alike.
QString line();

} // namespace Version
