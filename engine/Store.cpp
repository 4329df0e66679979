// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Store.h"

#include "engine/Clock.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

// Readings convert between kinds the way a defaults store on the desktop does (NSUserDefaults
// over NSNumber/NSString): a text that starts with a number reads as that number, anything else
// as 0. Values written by hand or by older versions therefore never fall back to defaults.
namespace {

constexpr qint64 kMaxInt = std::numeric_limits<qint64>::max();
constexpr qint64 kMinInt = std::numeric_limits<qint64>::min();

qsizetype skipSpace(QStringView s, qsizetype i)
{
    while (i < s.size() && s[i].isSpace())
        ++i;
    return i;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Leading decimal integer after optional blanks and sign; stops at the first other character
// and saturates at the 64-bit range ("12abc" -> 12, "abc" -> 0).
qint64 textToInteger(QStringView s)
{
    qsizetype i = skipSpace(s, 0);
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        negative = s[i++] == u'-';
    quint64 magnitude = 0;
    const quint64 limit = negative ? quint64(kMaxInt) + 1 : quint64(kMaxInt);
    bool saturated = false;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        const unsigned digit = s[i].unicode() - u'0';
        if (saturated || magnitude > (limit - digit) / 10) {
            saturated = true;
            continue;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (saturated)
        return negative ? kMinInt : kMaxInt;
    if (negative)
        return magnitude == quint64(kMaxInt) + 1 ? kMinInt : -qint64(magnitude);
    return qint64(magnitude);
}

// Leading decimal floating-point number ("1.5e3x" -> 1500); no hex, no "inf" or "nan".
double textToReal(QStringView s)
{
    qsizetype i = skipSpace(s, 0);
    const qsizetype start = i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i)
        ++digits;
    if (i < s.size() && s[i] == u'.')
        for (++i; i < s.size() && isDigit(s[i]); ++i)
            ++digits;
    if (digits == 0)
        return 0;
    qsizetype end = i;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            end = j;
        }
    }
    // strtod, unlike QByteArray::toDouble, reports an overflow as infinity instead of 0, so a
    // number too large for a double ("1e999") reads as the largest one.
    const QByteArray text = s.mid(start, end - start).toLatin1();
    const double value = std::strtod(text.constData(), nullptr);
    if (std::isinf(value))
        return value > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    return std::isnan(value) ? 0 : value;
}

// True for a leading Y, y, T or t, or a non-zero digit after blanks, a sign and zeros.
bool textToBoolean(QStringView s)
{
    qsizetype i = skipSpace(s, 0);
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    while (i < s.size() && s[i] == u'0')
        ++i;
    if (i >= s.size())
        return false;
    const QChar c = s[i];
    return c == u'Y' || c == u'y' || c == u'T' || c == u't' || (c >= u'1' && c <= u'9');
}

qint64 realToInteger(double d)
{
    if (std::isnan(d))
        return 0;
    if (d >= 9223372036854775807.0)
        return kMaxInt;
    if (d <= -9223372036854775808.0)
        return kMinInt;
    return static_cast<qint64>(d);
}

double finiteReal(double d)
{
    if (std::isnan(d))
        return 0;
    constexpr double big = std::numeric_limits<double>::max();
    return std::clamp(d, -big, big);
}

// The text a value stands for. QSettings' INI reader turns an unquoted "a,b,c" into a list, so a
// hand-edited file holding a comma-separated list reads back as the text that was typed.
QString variantText(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QString:
        return v.toString();
    case QMetaType::QStringList:
        return v.toStringList().join(u',');
    case QMetaType::QByteArray:
        return QString::fromUtf8(v.toByteArray());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    default:
        return v.toString();
    }
}

bool isTextKind(const QVariant& v)
{
    const int t = v.typeId();
    return t == QMetaType::QString || t == QMetaType::QStringList || t == QMetaType::QByteArray;
}

qint64 variantInteger(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return 0;
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::Char:
    case QMetaType::SChar:
        return v.toLongLong();
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::UChar: {
        const quint64 u = v.toULongLong();
        return u > quint64(kMaxInt) ? kMaxInt : qint64(u);
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return realToInteger(v.toDouble());
    default:
        break;
    }
    const QString text = variantText(v);
    // QSettings writes Booleans into its file as the words "true" and "false".
    if (text == u"true")
        return 1;
    return textToInteger(text);
}

double variantReal(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return 0;
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    case QMetaType::Double:
    case QMetaType::Float:
        return finiteReal(v.toDouble());
    default:
        break;
    }
    if (!isTextKind(v) && v.canConvert<double>())
        return finiteReal(v.toDouble());
    const QString text = variantText(v);
    if (text == u"true")
        return 1;
    return textToReal(text);
}

bool variantBoolean(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return false;
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        return !std::isnan(d) && d != 0;
    }
    default:
        break;
    }
    if (!isTextKind(v) && v.canConvert<qint64>())
        return v.toLongLong() != 0;
    return textToBoolean(variantText(v));
}

// Whether writing `b` over `a` would change what the file says. Values read from the file are
// text while the code writes numbers, so scalars are compared by the text they stand for.
bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.typeId() == b.typeId())
        return a == b;
    if (a.typeId() == QMetaType::Bool || b.typeId() == QMetaType::Bool)
        return variantBoolean(a) == variantBoolean(b);
    const auto scalar = [](const QVariant& v) { return isTextKind(v) || v.canConvert<double>(); };
    return scalar(a) && scalar(b) && variantText(a) == variantText(b);
}

QMutex g_standardMutex;
std::unique_ptr<Store> g_standard;

} // namespace

Store& Store::standard()
{
    QMutexLocker lock(&g_standardMutex);
    if (!g_standard)
        g_standard = std::make_unique<Store>(QString());
    return *g_standard;
}

void Store::openStandardAt(const QString& path)
{
    QMutexLocker lock(&g_standardMutex);
    if (!g_standard) {
        g_standard = std::make_unique<Store>(path);
        return;
    }
    // The same object is re-pointed, so references handed out earlier stay valid.
    QMutexLocker storeLock(&g_standard->mutex_);
    g_standard->openLocked(path);
}

Store::Store(const QString& path)
{
    QMutexLocker lock(&mutex_);
    openLocked(path);
}

Store::~Store()
{
    QMutexLocker lock(&mutex_);
    if (dirty_ && fileWritableLocked())
        settings_->sync();
}

std::unique_ptr<QSettings> Store::makeSettings(const QString& path)
{
    std::unique_ptr<QSettings> settings =
        path.isEmpty()
            ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                          QStringLiteral("tockwork"), QStringLiteral("tockwork"))
            : std::make_unique<QSettings>(path, QSettings::NativeFormat);
    // Only our own file counts; no organization-wide or system-wide fallbacks.
    settings->setFallbacksEnabled(false);
    return settings;
}

void Store::openLocked(const QString& path)
{
    if (settings_ && dirty_ && fileWritableLocked())
        settings_->sync();
    settings_.reset(); // the old object's destructor must not write after we move on
    path_ = path;
    settings_ = makeSettings(path);

    values_.clear();
    staged_.clear();
    stagedOver_.clear();
    writeFailed_ = false;
    mergedNews_ = false;
    ++revision_;
    const QStringList keys = settings_->allKeys();
    for (const QString& key : keys)
        values_.insert(key, settings_->value(key));
    dirty_ = false;

    stamp_ = fileStampLocked();
    const QFileInfo info(settings_->fileName());
    badFilePending_ = settings_->status() == QSettings::FormatError;
    fileUnreadable_ = info.exists() && (!info.isReadable() || !info.isFile());
    if (badFilePending_)
        qWarning("tockwork: %s could not be parsed; it is kept as a copy before it is rewritten",
                 qPrintable(info.filePath()));
    if (fileUnreadable_)
        qWarning("tockwork: %s cannot be read; settings stay in memory",
                 qPrintable(info.filePath()));
}

void Store::keepBadFileLocked()
{
    if (!badFilePending_)
        return;
    const QString file = settings_->fileName();
    const QString stamp = Clock::nowLocal().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy = file + QStringLiteral(".bad-") + stamp;
    for (int n = 1; QFileInfo::exists(copy); ++n)
        copy = file + QStringLiteral(".bad-") + stamp + u'-' + QString::number(n);
    if (QFile::copy(file, copy)) {
        badFilePending_ = false;
    } else {
        // Without a copy the file must not be replaced: keep working from memory only.
        fileUnreadable_ = true;
        qWarning("tockwork: could not copy %s aside; settings stay in memory", qPrintable(file));
    }
}

void Store::setReadOnly(bool readOnly)
{
    QMutexLocker lock(&mutex_);
    readOnly_ = readOnly;
}

bool Store::readOnly() const
{
    QMutexLocker lock(&mutex_);
    return readOnly_;
}

bool Store::contains(const QString& key) const
{
    QMutexLocker lock(&mutex_);
    return values_.contains(key);
}

QVariant Store::object(const QString& key) const
{
    QMutexLocker lock(&mutex_);
    return values_.value(key);
}

qint64 Store::integer(const QString& key) const
{
    QMutexLocker lock(&mutex_);
    const auto it = values_.constFind(key);
    return it == values_.cend() ? 0 : variantInteger(*it);
}

bool Store::boolean(const QString& key) const
{
    QMutexLocker lock(&mutex_);
    const auto it = values_.constFind(key);
    return it == values_.cend() ? false : variantBoolean(*it);
}

double Store::real(const QString& key) const
{
    QMutexLocker lock(&mutex_);
    const auto it = values_.constFind(key);
    return it == values_.cend() ? 0.0 : variantReal(*it);
}

std::optional<QString> Store::text(const QString& key) const
{
    QMutexLocker lock(&mutex_);
    const auto it = values_.constFind(key);
    if (it == values_.cend())
        return std::nullopt;
    return variantText(*it);
}

void Store::set(const QString& key, const QVariant& value)
{
    QMutexLocker lock(&mutex_);
    const auto it = values_.constFind(key);
    const bool staged = staged_.remove(key);
    stagedOver_.remove(key);
    if (it != values_.cend() && sameValue(*it, value) && !staged)
        return;
    if (it == values_.cend() || !sameValue(*it, value))
        ++revision_;
    values_.insert(key, value);
    if (!fileWritableLocked())
        return;
    keepBadFileLocked();
    if (!fileWritableLocked())
        return;
    settings_->setValue(key, value);
    dirty_ = true;
}

void Store::stage(const QString& key, const QVariant& value)
{
    QMutexLocker lock(&mutex_);
    const auto it = values_.constFind(key);
    if (it != values_.cend() && sameValue(*it, value))
        return;
    if (!staged_.contains(key))
        stagedOver_.insert(key, it != values_.cend() ? std::optional(*it) : std::nullopt);
    values_.insert(key, value);
    staged_.insert(key);
    ++revision_;
}

void Store::remove(const QString& key)
{
    QMutexLocker lock(&mutex_);
    staged_.remove(key);
    stagedOver_.remove(key);
    if (!values_.remove(key))
        return;
    ++revision_;
    if (!fileWritableLocked())
        return;
    keepBadFileLocked();
    if (!fileWritableLocked())
        return;
    settings_->remove(key);
    dirty_ = true;
}

void Store::flush()
{
    QMutexLocker lock(&mutex_);
    if (!dirty_ || !fileWritableLocked())
        return;
    // A write lands between the other writers' read-modify-writes, never inside one.
    const std::unique_ptr<QLockFile> writers = editWriterLock_ ? nullptr : lockWritersLocked();
    if (writeFailed_) {
        // QSettings keeps the error of a failed write for good: a fresh object, given every value
        // this store holds, tries again.
        settings_ = makeSettings(path_);
        for (auto it = values_.cbegin(); it != values_.cend(); ++it)
            settings_->setValue(it.key(), it.value());
    }
    // Staged values travel with the next real write, so the file never holds half a day reset.
    for (const QString& key : std::as_const(staged_))
        settings_->setValue(key, values_.value(key));
    staged_.clear();
    stagedOver_.clear();
    // QSettings writes through QSaveFile: a temporary beside the file, renamed over it. It reads
    // the file first and keeps the keys another writer changed meanwhile.
    settings_->sync();
    stamp_ = fileStampLocked();
    writeFailed_ = settings_->status() == QSettings::AccessError;
    // The new stamp covers the other writer's change as well, so the reload would never see it:
    // it is taken into memory here and reported by the next reloadIfChanged().
    if (!writeFailed_ && takeMergedLocked()) {
        ++revision_;
        mergedNews_ = true;
    }
    // What did not reach the file is written with the next flush: a later save of the same
    // values would otherwise find nothing changed and never write them.
    dirty_ = writeFailed_;
    if (writeFailed_)
        qWarning("tockwork: could not write %s", qPrintable(settings_->fileName()));
}

bool Store::takeMergedLocked()
{
    QHash<QString, QVariant> merged;
    bool changed = false;
    const QStringList keys = settings_->allKeys();
    for (const QString& key : keys) {
        const QVariant onFile = settings_->value(key);
        const auto own = values_.constFind(key);
        if (own != values_.cend() && sameValue(*own, onFile)) {
            merged.insert(key, *own); // keeps the kind this store wrote
        } else {
            merged.insert(key, onFile);
            changed = true;
        }
    }
    changed = changed || merged.size() != values_.size();
    if (changed)
        values_ = std::move(merged);
    return changed;
}

std::unique_ptr<QLockFile> Store::lockWritersLocked() const
{
    // Not QSettings' own "<file>.lock": it takes that one inside sync(), which would then wait
    // for this process's own lock. The holder keeps it for milliseconds; a killed holder's lock
    // is taken over at once (QLockFile checks the process), a hung one's after the stale time.
    const QString file = settings_->fileName();
    // The lock lives beside the file: on the first write its folder is made here (QSettings
    // would make it in sync() too).
    QDir().mkpath(QFileInfo(file).absolutePath());
    auto writers = std::make_unique<QLockFile>(file + QStringLiteral(".edit.lock"));
    writers->setStaleLockTime(10000);
    if (writers->tryLock(5000)) {
        forgetCachedReadingLocked();
        return writers;
    }
    // Writing without the lock loses at most the other writer's concurrent edit; not writing
    // would lose this one for certain. A folder that cannot be written fails the write anyway.
    if (writers->error() == QLockFile::LockFailedError)
        qWarning("tockwork: %s stays locked by another writer; writing without waiting for it",
                 qPrintable(file));
    return nullptr;
}

void Store::edit(const std::function<void()>& change)
{
    QMutexLocker editLock(&editMutex_);
    {
        QMutexLocker lock(&mutex_);
        if (fileWritableLocked()) {
            // The lock is awaited under mutex_: readers wait those few milliseconds too, but no
            // write of this process can slip in between the lock and the reading.
            editWriterLock_ = lockWritersLocked();
            reloadLocked();
        }
    }
    change();
    flush();
    QMutexLocker lock(&mutex_);
    editWriterLock_.reset();
}

void Store::forgetCachedReadingLocked() const
{
    // QSettings remembers a file it has read by its size and modification time and skips reading
    // it again while both are unchanged. It takes them after the reading, so a file replaced by
    // another writer during that reading is remembered with the new stamp and the old contents,
    // and the next write would put the old contents back over the other writer's change. Under
    // the writers' lock nobody else writes: moving the modification time past anything seen makes
    // the next reading or write read the file afresh.
    QFile file(settings_->fileName());
    if (!file.open(QIODevice::ReadOnly))
        return;
    // QSettings compares whole milliseconds: a millisecond past the one seen differs from it.
    const QDateTime seen = QFileInfo(file).lastModified();
    file.setFileTime(std::max(QDateTime::currentDateTime(), seen.addMSecs(1)),
                     QFileDevice::FileModificationTime);
}

Store::FileStamp Store::fileStampLocked() const
{
    const QFileInfo info(settings_->fileName());
    if (!info.exists())
        return {};
    return {info.lastModified().toMSecsSinceEpoch(), info.metadataChangeTime().toMSecsSinceEpoch(),
            info.size()};
}

bool Store::reloadIfChanged()
{
    QMutexLocker lock(&mutex_);
    if (!mergedNews_ && fileStampLocked() == stamp_)
        return false;
    reloadLocked();
    return true;
}

void Store::reloadLocked()
{
    // A day reset staged in memory belongs to today while the file still holds what it replaced;
    // it keeps waiting for the next write. Where another writer has written the key meanwhile
    // (the terminal starting today's break on a day this process has not written yet), the file
    // is newer than the reset and wins: the reset is staged again at the next reading if the
    // file's day is still an old one.
    QHash<QString, QVariant> staged;
    for (const QString& key : std::as_const(staged_))
        staged.insert(key, values_.value(key));
    const QHash<QString, std::optional<QVariant>> over = stagedOver_;
    openLocked(path_);
    for (auto it = staged.cbegin(); it != staged.cend(); ++it) {
        const std::optional<QVariant> before = over.value(it.key());
        const auto now = values_.constFind(it.key());
        const bool untouched = now == values_.cend() ? !before : before && sameValue(*before, *now);
        if (!untouched)
            continue;
        values_.insert(it.key(), it.value());
        staged_.insert(it.key());
        stagedOver_.insert(it.key(), before);
    }
}

bool Store::persistent() const
{
    QMutexLocker lock(&mutex_);
    return fileWritableLocked() && !writeFailed_;
}

quint64 Store::revision() const
{
    QMutexLocker lock(&mutex_);
    return revision_;
}

QString Store::fileName() const
{
    QMutexLocker lock(&mutex_);
    return settings_->fileName();
}
