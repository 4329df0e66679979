// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LoginItem.h"

#include "platform/linux/DesktopExec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

// An XDG autostart entry, $XDG_CONFIG_HOME/autostart/tockwork.desktop. Desktops switch such an
// entry off by editing it (GNOME writes X-GNOME-Autostart-enabled=false, others Hidden=true), so
// an entry switched off is the user's answer and is never written over.
namespace {

QString entryPath()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : config + QLatin1String("/autostart/tockwork.desktop");
}

QString thisProgram()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
}

// The executables land at the top of the build tree, beside CMake's cache; installed ones never.
bool inBuildTree(const QString& program)
{
    return QFileInfo::exists(QFileInfo(program).dir().filePath(QStringLiteral("CMakeCache.txt")));
}

// The program the entry should start. A build tree's run on a machine where TockWork is also
// installed (the package's /usr/bin/tockwork, or a `cmake --install` prefix on the PATH) leaves
// the start at login to the installed one: a trial of a build must not take the login over from
// what the user installed, and the build tree may be gone by the next login.
QString programToStart()
{
    const QString self = thisProgram();
    if (self.isEmpty() || !inBuildTree(self))
        return self;
    const QString installed =
        QFileInfo(QStandardPaths::findExecutable(QStringLiteral("tockwork"))).canonicalFilePath();
    return installed.isEmpty() || inBuildTree(installed) ? self : installed;
}

struct AutostartEntry
{
    QString program;
    bool switchedOff = false;
};

std::optional<AutostartEntry> readEntry(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    AutostartEntry entry;
    bool inMainGroup = false;
    int lines = 0;
    while (!file.atEnd() && ++lines < 1000) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inMainGroup || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("Exec"))
            entry.program = DesktopExec::program(value);
        else if ((key == QLatin1String("Hidden") && value == QLatin1String("true")) ||
                 (key == QLatin1String("X-GNOME-Autostart-enabled") &&
                  value == QLatin1String("false")))
            entry.switchedOff = true;
    }
    return entry;
}

bool samePath(const QString& a, const QString& b)
{
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !a.isEmpty() && (canonical.isEmpty() ? a : canonical) == b;
}

} // namespace

namespace LoginItem {

Status status()
{
    const QString path = entryPath();
    const auto entry = path.isEmpty() ? std::nullopt : readEntry(path);
    if (!entry)
        return Status::notRegistered;
    if (entry->switchedOff)
        return Status::disabledByUser;
    return samePath(entry->program, programToStart()) ? Status::enabled : Status::notRegistered;
}

bool registerItem(QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QString path = entryPath();
    if (path.isEmpty())
        return fail(QStringLiteral("설정 폴더를 찾을 수 없어요"));
    if (status() == Status::disabledByUser)
        return true;
    if (status() == Status::enabled)
        return true;
    const QString program = programToStart();
    if (program.isEmpty())
        return fail(QStringLiteral("실행 파일의 위치를 알 수 없어요"));
    if (!QDir().mkpath(QFileInfo(path).path()))
        return fail(QStringLiteral("폴더를 만들 수 없어요: ") + QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=톡웍\n"
                                        "Exec=") +
                         DesktopExec::quoted(program) +
                         QStringLiteral("\n"
                                        "Icon=org.tockwork.TockWork\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n");
    file.write(text.toUtf8());
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace LoginItem
