// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InstalledApps.h"

#include "platform/linux/DesktopExec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
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
    QString startupWMClass;
    QString program; // file names of Exec's program and of TryExec
    QString tryProgram;
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
        else if (key == QLatin1String("StartupWMClass"))
            entry.startupWMClass = value;
        else if (key == QLatin1String("Exec"))
            entry.program = QFileInfo(DesktopExec::program(value)).fileName();
        else if (key == QLatin1String("TryExec"))
            entry.tryProgram = QFileInfo(value).fileName();
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

InstalledApp installedApp(const DesktopEntry& entry)
{
    const bool korean = QLocale().language() == QLocale::Korean;
    return InstalledApp{entry.name, entry.file, iconNamed(entry.icon),
                        korean && !entry.localName.isEmpty() ? entry.localName : entry.name};
}

// Programs that run many applications: their file name says nothing about which one runs.
bool isInterpreter(const QString& program)
{
    static const QStringList shared = {
        QStringLiteral("env"),  QStringLiteral("sh"),      QStringLiteral("bash"),
        QStringLiteral("perl"), QStringLiteral("ruby"),    QStringLiteral("node"),
        QStringLiteral("java"), QStringLiteral("flatpak"), QStringLiteral("bwrap"),
        QStringLiteral("snap"), QStringLiteral("wine"),    QStringLiteral("wine64-preloader"),
        QStringLiteral("mono"), QStringLiteral("electron")};
    return shared.contains(program) || program.startsWith(QLatin1String("python")) ||
           program.startsWith(QLatin1String("electron"));
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
            return installedApp(entry);
        }
    }
    return std::nullopt;
}

std::optional<InstalledApp> findInstalledAppForWindow(const QString& windowClass,
                                                      const QString& instance,
                                                      const QString& executable)
{
    const auto names = [&](const QString& candidate) {
        return !candidate.isEmpty() && (candidate.compare(windowClass, Qt::CaseInsensitive) == 0 ||
                                        candidate.compare(instance, Qt::CaseInsensitive) == 0);
    };
    const QList<DesktopEntry>& entries = desktopEntries();
    for (const DesktopEntry& entry : entries) {
        if (names(entry.startupWMClass))
            return installedApp(entry);
    }
    for (const DesktopEntry& entry : entries) {
        if (names(QFileInfo(entry.file).completeBaseName()))
            return installedApp(entry);
    }
    if (executable.isEmpty() || isInterpreter(executable))
        return std::nullopt;
    for (const DesktopEntry& entry : entries) {
        if (entry.program == executable || entry.tryProgram == executable)
            return installedApp(entry);
    }
    return std::nullopt;
}
