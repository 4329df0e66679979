#pragma once

// Device pixels per point of the screen the tray lives on (1 when there is no screen).
double trayPixelRatio();
