// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/Display.h"
#include "preview/DemoScene.h"

// The scene's Display, built once on first use. (Apart from DemoScene.h, which files that
// create the GUI application include: Qt's X11 headers declare a global `Display` too.)
const Display& demoScene(DemoScene scene);
