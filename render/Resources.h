// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The application's bundled resource folder: <exe dir>/share/tockwork in the build tree, or
// <exe dir>/../share/tockwork when installed. Holds "art/" and "fonts/".
namespace Resources {

QString bundleDir(); // empty when neither exists
// Tests point it at a folder of their own.
void setBundleDir(const QString& dir);

} // namespace Resources
