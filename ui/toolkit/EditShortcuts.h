#pragma once

// Cut, copy, paste, select all and undo work in every text field of the application by their
// physical keys, whatever the keyboard layout (a tray application has no menu bar to carry them).
void installEditMenu();
