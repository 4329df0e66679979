// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class ChipButton;
class PixelImageView;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// How the settings windows dress their widgets in the colours of the current appearance (call
// while the colour functions are pinned to the window's appearance).
namespace SettingsStyle {

// Text colours made opaque against what lies beneath: the glass, or a text field on it. A text
// then reads the same whatever font draws it (a fallback font for a script the pixel font lacks
// included) and whether or not a compositor lets the desktop through the glass.
QColor onGlass(const QColor& colour);
QColor onField(const QColor& colour);
// A colour as a style sheet writes it, its alpha included.
QString colourCss(const QColor& colour);

// A label in `font` and `colour` (made opaque on the glass), clipped to its frame.
QLabel* label(QWidget* parent, const QString& text, const QFont& font, const QColor& colour,
              Qt::Alignment alignment);
// A picture of one line of pixel-font text, vertically centred in its frame.
PixelImageView* textPicture(QWidget* parent, const QString& text, const QFont& font,
                            const QColor& colour, Qt::Alignment horizontal);

// A centred field hides its placeholder while it has the keyboard (Qt would draw the caret over
// it). The placeholder is the field's only explanation, so it is kept, in `mutedInk`, until
// typing begins. Calling it again restyles it for the current appearance.
void keepPlaceholderVisible(QLineEdit* field);

// The save, cancel and add buttons: the title as a picture in the 12-point pixel font on a chip
// of `chipFill` with corner radius 8. restyleChip draws it again in the current appearance.
ChipButton* chipButton(QWidget* parent, const QString& title);
void restyleChip(ChipButton* button);
// Their height: the text "저장" in the 12-point pixel font, rounded up, plus 16.
int chipButtonHeight();

// The round "✕" that removes a row of a list: `diameter` across, its glyph in the pixel font
// at `pointSize`, muted ink on `chipFill`, the faint colour under the pointer. Made in the
// current appearance; rows are built again when it changes.
QPushButton* removeButton(QWidget* parent, const QString& accessibleName, int pointSize,
                          int diameter);

// Text fields, time pickers, pop-ups, check boxes and plain buttons: ink text on field colours
// that read on the glass.
void applyPalette(QWidget* widget);

// The style sheet of a list that scrolls on the glass: no frame or background of its own (nor
// of its rows widget, found by `rowsName`), and a thin rounded bar in the faint colour of the
// moment, so it is set again at every change of appearance.
QString scrollAreaStyle(const QString& rowsName);

} // namespace SettingsStyle
