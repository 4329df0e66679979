// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

// The pixel fonts every panel and window text is set in. The main face is Galmuri11, installed as
// "Mona12.ttf" and "Mona12-Bold.ttf": a 12-pixel design. Smaller lines use Galmuri9
// ("Galmuri9.ttf"), a 10-pixel design of its own. A pixel font is only legible at its design size
// or a whole multiple of it: at 10 or 11 pixels the 12-pixel Hangul loses a pixel column, and the
// two stems of ㅐ and ㅔ merge ("내가" reads "니가"). Sizes are pixels per em at one device pixel
// per point, so a design lands on whole pixels at every device pixel ratio.

enum class MonaFace
{
    regular,
    bold,
    small
};

// Registers the bundled pixel fonts for this process. Needs the application object; called
// before it exists, registration happens at the first mona() call.
void registerMonaFont();
// The pixel font for a line of `size` points (see monaPixelSize), falling back to the system font
// at `size` when the face it needs is not installed.
QFont mona(double size = 12);
// The bold face; the regular face when no bold one is installed (never a smeared synthetic bold).
// Below 12 points there is no bold design: the small face.
QFont monaBold(double size = 12);

// What a line asked for at `size` points is set in: 12 points and more in the 12-pixel face at the
// largest whole multiple of 12 not above the size, 10 and 11 points in the 10-pixel small face at
// 10, anything smaller in the system font (no pixel design is that small). Sizes are rounded to
// whole pixels between 1 and 512; a size that is not a number means 12.
struct MonaSize
{
    enum class Design
    {
        twelve,
        ten,
        none
    };
    Design design = Design::twelve;
    int pixels = 12;
};
MonaSize monaPixelSize(double size);

// The files registration looks at for `face`, in order: the bundle's fonts folder, ~/TockWork,
// then ~/.local/share/fonts. The first one that loads as a font is registered; later ones are not.
QStringList monaFontCandidates(MonaFace face);

struct MonaRegistration
{
    QString file;
    QString family; // as the font database reports it
    int id = -1;
};
// What registration found for the face, if anything.
std::optional<MonaRegistration> registeredMona(MonaFace face);
// Whether mona() answers 12-point requests with the pixel font itself rather than a fallback.
bool monaAvailable();
// Whether `font` is one of the pixel faces (rather than the system font standing in for one).
bool isMonaFont(const QFont& font);
// Forgets and unloads the registered faces, so the next call registers anew (tests).
void unregisterMonaFont();
