// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Version.h"

// Defined for this file alone, so a new version recompiles one file.
#ifndef TOCKWORK_VERSION
#error "TOCKWORK_VERSION comes from the project's version in CMake"
#endif

namespace Version {

QString number()
{
    return QStringLiteral(TOCKWORK_VERSION);
}

QString line()
{
    return QStringLiteral("tockwork ") + number();
}

} // namespace Version
