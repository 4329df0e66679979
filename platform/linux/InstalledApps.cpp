#include "platform/InstalledApps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>

// Applications are found through their XDG desktop entries.
namespace {

QStringList& applicationDirsOverride()
{
    static QStringList dirs;
    return dirs;
}

struct DesktopEntry
{
    QString file;
    QString name;
    QString localName;
    QString icon;
};

std::optional<DesktopEntry> readDesktopEntry(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QTextStream in(&file);
    DesktopEntry entry;
    entry.file = path;
    bool inMainGroup = false, isApplication = false, hidden = false;
    int lines = 0;
    while (!in.atEnd() && ++lines < 2000) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[')) {
            if (inMainGroup)
                break;
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("Type"))
            isApplication = value == QLatin1String("Application");
        else if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("Name[ko]"))
            entry.localName = value;
        else if (key == QLatin1String("Icon"))
            entry.icon = value;
        else if (key == QLatin1String("Hidden"))
            hidden = value == QLatin1String("true");
    }
    // Hidden=true is how a user deletes a system-wide entry.
    if (!isApplication || hidden || entry.name.isEmpty())
        return std::nullopt;
    return entry;
}

// Every application entry, earlier folders first, so a user's own entry hides the system's.
const QList<DesktopEntry>& desktopEntries()
{
    static QList<DesktopEntry> entries;
    static QStringList builtFrom;
    static bool built = false;
    QStringList dirs = applicationDirsOverride();
    if (dirs.isEmpty())
        dirs = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    if (built && dirs == builtFrom)
        return entries;
    entries.clear();
    QSet<QString> seenIds;
    for (const QString& dir : dirs) {
        QDir folder(dir);
        const QStringList files =
            folder.entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
        for (const QString& name : files) {
            if (seenIds.contains(name))
                continue;
            seenIds.insert(name);
            if (auto entry = readDesktopEntry(folder.filePath(name)))
                entries.append(*entry);
        }
    }
    builtFrom = dirs;
    built = true;
    return entries;
}

QIcon iconNamed(const QString& icon)
{
    if (icon.isEmpty())
        return {};
    if (QFileInfo(icon).isAbsolute())
        return QFileInfo::exists(icon) ? QIcon(icon) : QIcon();
    return QIcon::fromTheme(icon);
}

} // namespace

void setApplicationDirs(const QStringList& dirs)
{
    applicationDirsOverride() = dirs;
}

std::optional<InstalledApp> findInstalledApp(const QString& name)
{
    const QString wanted = name.trimmed().toLower();
    if (wanted.isEmpty())
        return std::nullopt;
    for (const DesktopEntry& entry : desktopEntries()) {
        const QString id = QFileInfo(entry.file).completeBaseName().toLower();
        const QString lastPart = id.section(u'.', -1);
        if (id == wanted || lastPart == wanted || entry.name.toLower() == wanted ||
            (!entry.localName.isEmpty() && entry.localName.toLower() == wanted)) {
            return InstalledApp{entry.name, entry.file, iconNamed(entry.icon)};
        }
    }
    return std::nullopt;
}
