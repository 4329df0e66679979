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
};

RegistrationState& state()
{
    static RegistrationState s;
    return s;
}

bool fontDatabaseUsable()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

std::optional<MonaRegistration> registerFace(bool bold)
{
    // The first candidate that is a usable font wins. A damaged or foreign file (a half-finished
    // download, a file merely renamed to the name) is passed over rather than leaving the
    // application without its font while a good copy sits in the next folder.
    for (const QString& candidate : monaFontCandidates(bold)) {
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
    s.regular = registerFace(false);
    s.bold = registerFace(true);
}

bool familyInstalled(const QString& family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// Whole pixels between 1 and 512; anything unusable means the 12-pixel design size.
int pixelSizeFor(double size)
{
    if (!std::isfinite(size))
        return 12;
    return int(std::lround(std::clamp(size, 1.0, 512.0)));
}

QFont pixelFont(const QString& family, double size)
{
    QFont font(family);
    font.setPixelSize(pixelSizeFor(size));
    // The glyphs are squares on a pixel grid: hinting would move their edges and antialiasing
    // would blur them at the sizes that are not the 12-pixel design.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setKerning(false);
    return font;
}

QFont systemFont(double size)
{
    QFont font =
        fontDatabaseUsable() ? QFontDatabase::systemFont(QFontDatabase::GeneralFont) : QFont();
    font.setPixelSize(pixelSizeFor(size));
    return font;
}

// The regular pixel face's family: what registration reported, else an installed font under the
// names the font is known by.
std::optional<QString> regularFamily()
{
    ensureRegistered();
    if (state().regular)
        return state().regular->family;
    if (!fontDatabaseUsable())
        return std::nullopt;
    for (const char* name : {"Mona12", "Mona12-Regular"}) {
        if (familyInstalled(QLatin1String(name)))
            return QString::fromLatin1(name);
    }
    return std::nullopt;
}

} // namespace

QStringList monaFontCandidates(bool bold)
{
    const QString file = bold ? QStringLiteral("Mona12-Bold.ttf") : QStringLiteral("Mona12.ttf");
    QStringList candidates;
    if (const QString bundle = Resources::bundleDir(); !bundle.isEmpty())
        candidates << bundle + QStringLiteral("/fonts/") + file;
    const QString home = QDir::homePath();
    candidates << home + QStringLiteral("/TockWork/") + file
               << home + QStringLiteral("/.local/share/fonts/") + file;
    return candidates;
}

std::optional<QString> monaFontFile(bool bold)
{
    for (const QString& candidate : monaFontCandidates(bold)) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return std::nullopt;
}

void registerMonaFont()
{
    ensureRegistered();
}

std::optional<MonaRegistration> registeredMona(bool bold)
{
    ensureRegistered();
    return bold ? state().bold : state().regular;
}

bool monaAvailable()
{
    return regularFamily().has_value();
}

void unregisterMonaFont()
{
    RegistrationState& s = state();
    for (const auto& reg : {s.regular, s.bold}) {
        if (reg)
            QFontDatabase::removeApplicationFont(reg->id);
    }
    s = RegistrationState{};
}

QFont mona(double size)
{
    if (const auto family = regularFamily())
        return pixelFont(*family, size);
    return systemFont(size);
}

QFont monaBold(double size)
{
    ensureRegistered();
    if (state().bold) {
        QFont font = pixelFont(state().bold->family, size);
        font.setBold(true);
        return font;
    }
    if (fontDatabaseUsable() && familyInstalled(QStringLiteral("Mona12-Bold")))
        return pixelFont(QStringLiteral("Mona12-Bold"), size);
    return mona(size);
}
