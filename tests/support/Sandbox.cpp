// SPDX-License-Identifier: GPL-3.0-or-later
#include "Sandbox.h"

#include "engine/Cfg.h"
#include "engine/Clock.h"
#include "engine/Store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <sys/stat.h>

#include <ctime>
#include <stdexcept>

ScopedTimeZone::ScopedTimeZone(const char* zone) : old_(qgetenv("TZ"))
{
    qputenv("TZ", zone);
    tzset();
}

ScopedTimeZone::~ScopedTimeZone()
{
    old_.isEmpty() ? qunsetenv("TZ") : qputenv("TZ", old_);
    tzset();
}

FrozenClock::~FrozenClock()
{
    Clock::unfreeze();
}

double FrozenClock::at(QDate date, QTime time)
{
    return at(epoch(date, time));
}

double FrozenClock::at(double epochSeconds)
{
    Clock::freeze(epochSeconds);
    return Clock::now();
}

double FrozenClock::epoch(QDate date, QTime time)
{
    return Clock::toEpoch(QDateTime(date, time));
}

StoreSandbox::StoreSandbox()
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder for the store");
    Store::openStandardAt(storePath());
    Store::standard().setReadOnly(false);
    Cfg::clearMonthCache();
}

StoreSandbox::~StoreSandbox()
{
    for (const auto& [name, value] : savedEnvironment_)
        value.isNull() ? qunsetenv(name.constData()) : qputenv(name.constData(), value);
}

void StoreSandbox::useAsHome()
{
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        savedEnvironment_.append(
            {name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
    }
    qputenv("XDG_CONFIG_HOME", filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", filePath(QStringLiteral("cache")).toLocal8Bit());
    // A runtime folder of its own, so instance locks never meet those of a parallel test.
    const QString runtime = filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    storeName_ = QStringLiteral("config/tockwork/tockwork.conf");
    Store::openStandardAt(storePath());
}

void StoreSandbox::openFile(const QByteArray& contents, const QString& name)
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        throw std::runtime_error("cannot write the test's store file");
    file.close();
    Store::openStandardAt(file.fileName());
}

QByteArray StoreSandbox::readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint64 StoreSandbox::inode(const QString& path)
{
    struct stat st
    {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}
