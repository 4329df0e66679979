// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QLockFile;
class QSettings;

// The user-defaults store: one value per key in QSettings' native format (on Linux
// ~/.config/tockwork/tockwork.conf). Readings follow the conventions of a defaults store: a key
// written with another kind is converted (text that is no number reads as integer 0), never
// defaulted. Safe to use from any thread.
class Store final
{
public:
    // The process-wide store the application and every record type use.
    static Store& standard();
    // Re-points the standard store at a file (tests, or the companion reading the user's file).
    static void openStandardAt(const QString& path);

    // In read-only mode writes land in memory only and the file is never touched.
    void setReadOnly(bool readOnly);
    bool readOnly() const;

    bool contains(const QString& key) const;
    QVariant object(const QString& key) const;

    qint64 integer(const QString& key) const;              // 0 when absent
    bool boolean(const QString& key) const;                // false when absent
    double real(const QString& key) const;                 // 0 when absent
    std::optional<QString> text(const QString& key) const; // none when absent

    // Writes reach the file only when they change what it says: setting a key to the value it
    // holds is free.
    void set(const QString& key, const QVariant& value);
    // Changes the value in memory only; it reaches the file with the next write that does (so
    // reading a record, which may reset it for a new day, never writes).
    void stage(const QString& key, const QVariant& value);
    void remove(const QString& key);
    // Ends a logical group of writes: the file is atomically replaced before this returns. What
    // another writer put into the file meanwhile is merged in and read into memory too, and the
    // next reloadIfChanged() reports it.
    void flush();
    // One read-modify-write of the file, e.g. adding to a list: other writers of the file (the
    // terminal companion, another copy of the application) wait until `change` is written, and
    // the file is read again first, so `change` starts from what they wrote. `change` uses this
    // store's own methods; the write ends with a flush().
    void edit(const std::function<void()>& change);
    // Whether what was written so far reached the file: false when read-only, when the file could
    // not be read (it is never overwritten then) or when the last write failed.
    bool persistent() const;

    // Reads the file again when something else (the terminal companion, another copy of the
    // application) replaced it since this store last read or wrote it. Values changed in memory
    // and not yet written stay as they are. Returns whether the file was read again.
    bool reloadIfChanged();

    // Grows whenever a value changes or the file is read again, so caches of figures derived from
    // the store know when to recompute.
    quint64 revision() const;

    QString fileName() const;

    // An empty path means the standard location (organization and application "tockwork").
    explicit Store(const QString& path);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

private:
    // What tells one version of the file from the next without reading it.
    struct FileStamp
    {
        qint64 modifiedMs = -1;
        qint64 changedMs = -1;
        qint64 size = -1;
        bool operator==(const FileStamp&) const = default;
    };
    FileStamp fileStampLocked() const;
    // Excludes the other writers of the file while held; null when the lock could not be taken.
    std::unique_ptr<QLockFile> lockWritersLocked() const;
    // Makes QSettings read the file again instead of trusting what it remembers of it.
    void forgetCachedReadingLocked() const;
    // After a write: takes into memory what the merged file holds; whether anything differed.
    bool takeMergedLocked();

    static std::unique_ptr<QSettings> makeSettings(const QString& path);
    // Replaces the backing file and reloads the in-memory copy; the caller holds mutex_.
    void openLocked(const QString& path);
    // Reads the file again, keeping staged values; the caller holds mutex_.
    void reloadLocked();
    // Before the first write over a file QSettings could not parse, keep the bad file beside it.
    void keepBadFileLocked();
    bool fileWritableLocked() const { return !readOnly_ && !fileUnreadable_; }

    mutable QMutex mutex_;
    QMutex editMutex_;                          // one edit() at a time in this process
    std::unique_ptr<QLockFile> editWriterLock_; // held by the running edit(); guarded by mutex_
    std::unique_ptr<QSettings> settings_;
    QHash<QString, QVariant> values_;
    QSet<QString> staged_; // changed in memory, not yet handed to settings_
    // What each staged key held before it was staged (nothing: absent), to tell whether another
    // writer has written it since.
    QHash<QString, std::optional<QVariant>> stagedOver_;
    quint64 revision_ = 0;
    QString path_;    // as given to openLocked: empty for the standard location
    FileStamp stamp_; // the file as this store last read or wrote it
    bool readOnly_ = false;
    bool dirty_ = false;
    bool badFilePending_ = false; // the file failed to parse and has not been copied yet
    bool fileUnreadable_ = false; // the file exists but cannot be read: never overwrite it
    bool writeFailed_ = false;    // the last attempt to replace the file failed
    bool mergedNews_ = false;     // a write brought in another writer's change: reload reports it
};
