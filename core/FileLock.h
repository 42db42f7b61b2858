#pragma once

#include <QString>

namespace orvento::core {

// An open file that carries an open-file-description lock (fcntl F_OFD_SETLK). The lock belongs
// to this open file: a second open of the same path, in this process or another, is refused
// while this object lives; it vanishes with the descriptor, also when the holder's process dies.
// Moving transfers the lock; destruction releases it.
class FileLock {
public:
    enum class Mode { Shared, Exclusive };
    enum class Result { Taken, HeldElsewhere, Failed };

    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens (creating when `create`) the file and takes the lock without waiting. A file removed
    // or replaced between the open and the lock is retried, so that a taken lock always guards
    // the file that stands at `path` now.
    static Result acquire(const QString& path, Mode mode, bool create, FileLock& out);

    // Tries an exclusive lock on an existing file: HeldElsewhere when somebody holds it, Taken
    // (and the lock released again) when nobody does, Failed when the file is missing or cannot
    // be opened.
    static Result probe(const QString& path);

    bool isHeld() const { return m_fd >= 0; }
    const QString& path() const { return m_path; }

    // Removes the file while the lock is still held, then closes it. Removing under the lock
    // means nobody can lock the old file in between and believe it holds the new one.
    void removeAndRelease();
    void release();

private:
    int m_fd = -1;
    QString m_path;
};

// True when another holder has the lock file. A file nobody holds is a left-over and is removed,
// so the test also clears stale lock files.
bool lockFileHeldElsewhere(const QString& path);
// Creates the lock file and holds it in `out`; a lock counts only while its file is the one at
// the path. False (and `out` empty) when somebody else holds it or it cannot be created.
bool takeLockFile(const QString& path, FileLock& out);

} // namespace orvento::core
