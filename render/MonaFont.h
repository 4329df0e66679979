#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

// The pixel font every panel and window text is set in: Galmuri11, installed as "Mona12.ttf" and
// "Mona12-Bold.ttf". Sizes are pixels per em at one device pixel per point, so the 12-pixel design
// lands on whole pixels.

// Registers the bundled pixel font (Mona12.ttf, Mona12-Bold.ttf) for this process. Needs the
// application object; called before it exists, registration happens at the first mona() call.
void registerMonaFont();
// The pixel font at `size` points, falling back to the system font.
QFont mona(double size = 12);
// The bold face; the regular face when no bold one is installed (never a smeared synthetic bold).
QFont monaBold(double size = 12);

// The files registration looks at, in order: the bundle's fonts folder, ~/TockWork, then
// ~/.local/share/fonts. The first one that loads as a font is registered; later ones are not.
QStringList monaFontCandidates(bool bold);
// The first candidate that exists.
std::optional<QString> monaFontFile(bool bold);

struct MonaRegistration
{
    QString file;
    QString family; // as the font database reports it
    int id = -1;
};
// What registration found for the face, if anything.
std::optional<MonaRegistration> registeredMona(bool bold);
// Whether mona() answers with the pixel font itself rather than a fallback.
bool monaAvailable();
// Forgets and unloads the registered faces, so the next call registers anew (tests).
void unregisterMonaFont();
