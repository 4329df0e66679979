#pragma once

// Qt's X11 native interface declares Xlib's connection type as a global `Display`, which collides
// with the day's Display of the engine. Every GUI file reads Qt's application header first, with
// Xlib's name moved aside; the type behind it (struct _XDisplay) is unchanged, so the ABI is too.
#define Display QtXlibDisplay
#include <QtGui/qguiapplication.h>
#undef Display
