// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// A translucent window's clear corners show black where no compositor runs: there the window is
// cut to its rounded rectangle of `radius`; with a compositor it keeps no mask (the glass fades
// into the desktop). Called whenever the window is shown or resized.
void cutToRoundedShape(QWidget* window, double radius);
