// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/MonaFont.h"

#include "render/Resources.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace {

struct RegistrationState
{
    bool done = false;
    std::optional<MonaRegistration> regular;
    std::optional<MonaRegistration> bold;
    std::optional<MonaRegistration> small;
};

RegistrationState& state()
{
    static RegistrationState s;
    return s;
}

std::optional<MonaRegistration>& slot(RegistrationState& s, MonaFace face)
{
    switch (face) {
    case MonaFace::bold:
        return s.bold;
    case MonaFace::small:
        return s.small;
    case MonaFace::regular:
        break;
    }
    return s.regular;
}

// Each face's file and the family names an installed copy is known by.
struct FaceNames
{
    QString file;
    QStringList families;
};

const FaceNames& namesOf(MonaFace face)
{
    static const FaceNames regular{QStringLiteral("Mona12.ttf"),
                                   {QStringLiteral("Mona12"), QStringLiteral("Mona12-Regular")}};
    static const FaceNames bold{QStringLiteral("Mona12-Bold.ttf"), {QStringLiteral("Mona12-Bold")}};
    static const FaceNames small{QStringLiteral("Galmuri9.ttf"), {QStringLiteral("Galmuri9")}};
    switch (face) {
    case MonaFace::bold:
        return bold;
    case MonaFace::small:
        return small;
    case MonaFace::regular:
        break;
    }
    return regular;
}

bool fontDatabaseUsable()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

std::optional<MonaRegistration> registerFace(MonaFace face)
{
    // The first candidate that is a usable font wins. A damaged or foreign file (a half-finished
    // download, a file merely renamed to the name) is passed over rather than leaving the
    // application without its font while a good copy sits in the next folder.
    for (const QString& candidate : monaFontCandidates(face)) {
        if (!QFileInfo(candidate).isFile())
            continue;
        const int id = QFontDatabase::addApplicationFont(candidate);
        if (id < 0)
            continue;
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (families.isEmpty()) {
            QFontDatabase::removeApplicationFont(id);
            continue;
        }
        return MonaRegistration{candidate, families.first(), id};
    }
    return std::nullopt;
}

void ensureRegistered()
{
    RegistrationState& s = state();
    if (s.done || !fontDatabaseUsable())
        return;
    s.done = true;
    for (const MonaFace face : {MonaFace::regular, MonaFace::bold, MonaFace::small})
        slot(s, face) = registerFace(face);
}

bool familyInstalled(const QString& family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// Whole pixels between 1 and 512; anything unusable means the 12-pixel design size.
int wholePixels(double size)
{
    if (!std::isfinite(size))
        return 12;
    return int(std::lround(std::clamp(size, 1.0, 512.0)));
}

QFont pixelFont(const QString& family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    // At its design size (or a whole multiple) every edge of a pixel glyph lies on the pixel
    // grid, so grey-scale antialiasing gives the same crisp squares as monochrome drawing. Full
    // hinting keeps the advances whole, so no glyph starts between two pixels. Monochrome glyphs
    // are not an option: Qt's raster engine copies them onto the surface without blending, so a
    // muted ink lost its alpha after the first glyph of a label (black on an opaque window,
    // a hole showing the wallpaper through the glass under a compositor).
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    font.setKerning(false);
    return font;
}

QFont systemFont(double size)
{
    QFont font =
        fontDatabaseUsable() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont();
    font.setPixelSize(wholePixels(size));
    return font;
}

// The face's family: what registration reported, else an installed font under the names the font
// is known by.
std::optional<QString> familyOf(MonaFace face)
{
    ensureRegistered();
    if (const auto& reg = slot(state(), face))
        return reg->family;
    if (!fontDatabaseUsable())
        return std::nullopt;
    for (const QString& name : namesOf(face).families) {
        if (familyInstalled(name))
            return name;
    }
    return std::nullopt;
}

} // namespace

MonaSize monaPixelSize(double size)
{
    const int pixels = wholePixels(size);
    if (pixels >= 12)
        return {MonaSize::Design::twelve, pixels / 12 * 12};
    if (pixels >= 10)
        return {MonaSize::Design::ten, 10};
    return {MonaSize::Design::none, pixels};
}

QStringList monaFontCandidates(MonaFace face)
{
    const QString& file = namesOf(face).file;
    QStringList candidates;
    if (const QString bundle = Resources::bundleDir(); !bundle.isEmpty())
        candidates << bundle + QStringLiteral("/fonts/") + file;
    const QString home = QDir::homePath();
    candidates << home + QStringLiteral("/TockWork/") + file
               << home + QStringLiteral("/.local/share/fonts/") + file;
    return candidates;
}

void registerMonaFont()
{
    ensureRegistered();
}

std::optional<MonaRegistration> registeredMona(MonaFace face)
{
    ensureRegistered();
    return slot(state(), face);
}

bool monaAvailable()
{
    return familyOf(MonaFace::regular).has_value();
}

bool isMonaFont(const QFont& font)
{
    for (const MonaFace face : {MonaFace::regular, MonaFace::bold, MonaFace::small}) {
        if (const auto family = familyOf(face);
            family && font.family().compare(*family, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void unregisterMonaFont()
{
    RegistrationState& s = state();
    for (const auto& reg : {s.regular, s.bold, s.small}) {
        if (reg)
            QFontDatabase::removeApplicationFont(reg->id);
    }
    s = RegistrationState{};
}

QFont mona(double size)
{
    const MonaSize want = monaPixelSize(size);
    const MonaFace face =
        want.design == MonaSize::Design::ten ? MonaFace::small : MonaFace::regular;
    if (want.design != MonaSize::Design::none) {
        if (const auto family = familyOf(face))
            return pixelFont(*family, want.pixels);
    }
    return systemFont(size);
}

QFont monaBold(double size)
{
    const MonaSize want = monaPixelSize(size);
    if (want.design != MonaSize::Design::twelve)
        return mona(size);
    ensureRegistered();
    if (const auto& bold = state().bold) {
        QFont font = pixelFont(bold->family, want.pixels);
        font.setBold(true);
        return font;
    }
    if (fontDatabaseUsable() && familyInstalled(QStringLiteral("Mona12-Bold")))
        return pixelFont(QStringLiteral("Mona12-Bold"), want.pixels);
    return mona(size);
}
