// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Text from the user's files made safe for where the companion prints it. A day-off note or a
// slacking label may hold anything that was typed or written into the files by hand.
namespace Printable {

// For a terminal: control characters (C0, DEL and C1, ESC among them) are written as "\xNN" and a
// backslash as "\\", so a note can neither move the cursor nor retitle the window, and what is
// shown reads back unambiguously.
QString terminal(const QString& text);

// One CSV field (RFC 4180): quoted when it holds a comma, a quote or a line break. Other control
// characters, NUL among them, and characters that stand for bytes that were not UTF-8 (U+FFFD)
// or for half a surrogate pair are written as "\xNN" or "\uNNNN", so that every program reading
// the file sees text; a backslash is written as "\\" then.
QString csvField(const QString& text);

} // namespace Printable
