// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLabel;
class QWidget;

// The line-height multiple of all label text, line images and amount texts.
inline constexpr double LINE_H_MULT = 1.4;

// Sets the label's text in lines 1.4 times the font's height, keeping its alignment, word wrap
// and any colours or fonts already in its rich text. An empty label is left alone; applying it
// twice changes nothing more.
void applyLineHeight(QLabel* label);
// applyLineHeight on every label below `root`, depth first. Labels the user can edit are skipped.
void applyLineHeightToLabels(QWidget* root);
