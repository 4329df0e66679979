// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Resources {
namespace {

QString& overrideDir()
{
    static QString dir;
    return dir;
}

QString executableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Before the application object exists (tools, early start-up) ask the kernel instead.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

} // namespace

QString bundleDir()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
    const QString exeDir = executableDir();
    if (exeDir.isEmpty())
        return {};
    const QString candidates[] = {exeDir + QStringLiteral("/share/tockwork"),
                                  exeDir + QStringLiteral("/../share/tockwork")};
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    return {};
}

void setBundleDir(const QString& dir)
{
    overrideDir() = dir;
}

} // namespace Resources
