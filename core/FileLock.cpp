#include "core/FileLock.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orvento::core {

namespace {

bool lockWhole(int fd, short type) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;
    fl.l_pid = 0;
    return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

bool sameFileAtPath(int fd, const QByteArray& path) {
    struct stat byFd {};
    struct stat byPath {};
    if (::fstat(fd, &byFd) != 0 || ::stat(path.constData(), &byPath) != 0)
        return false;
    return byFd.st_dev == byPath.st_dev && byFd.st_ino == byPath.st_ino;
}

} // namespace

FileLock::~FileLock() {
    release();
}

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_path(std::move(other.m_path)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

FileLock::Result FileLock::acquire(const QString& path, Mode mode, bool create, FileLock& out) {
    out.release();
    const QByteArray native = QFile::encodeName(path);
    const int flags = O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0);
    // A few rounds are enough: a retry is needed only when another workstation removed a stale
    // file between our open and our lock.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(native.constData(), flags, 0666);
        if (fd < 0)
            return Result::Failed;
        if (!lockWhole(fd, mode == Mode::Exclusive ? F_WRLCK : F_RDLCK)) {
            const int err = errno;
            ::close(fd);
            return (err == EAGAIN || err == EACCES) ? Result::HeldElsewhere : Result::Failed;
        }
        if (sameFileAtPath(fd, native)) {
            out.m_fd = fd;
            out.m_path = path;
            return Result::Taken;
        }
        ::close(fd);
        if (!create)
            return Result::Failed;
    }
    return Result::Failed;
}

FileLock::Result FileLock::probe(const QString& path) {
    FileLock lock;
    const Result result = acquire(path, Mode::Exclusive, false, lock);
    return result;
}

void FileLock::removeAndRelease() {
    if (m_fd >= 0)
        ::unlink(QFile::encodeName(m_path).constData());
    release();
}

void FileLock::release() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

bool lockFileHeldElsewhere(const QString& path) {
    if (!QFileInfo::exists(path))
        return false;
    FileLock probe;
    switch (FileLock::acquire(path, FileLock::Mode::Exclusive, false, probe)) {
    case FileLock::Result::HeldElsewhere:
        return true;
    case FileLock::Result::Taken:
        probe.removeAndRelease();
        return false;
    case FileLock::Result::Failed:
        // Gone in the meantime, or a file we cannot even open: treat like a left-over and try
        // to remove it; what stays is somebody else's.
        QFile::remove(path);
        return QFileInfo::exists(path);
    }
    return false;
}

bool takeLockFile(const QString& path, FileLock& out) {
    out.release();
    if (FileLock::acquire(path, FileLock::Mode::Exclusive, true, out) != FileLock::Result::Taken ||
        !QFileInfo::exists(path)) {
        out.release();
        return false;
    }
    return true;
}

} // namespace orvento::core
