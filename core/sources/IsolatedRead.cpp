#include "core/sources/IsolatedRead.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace orvento::core::sources {

#if defined(Q_OS_UNIX)

namespace {

constexpr int kChildFailed = 1;
constexpr qsizetype kPiece = 64 * 1024;

// The descriptor of a pipe's end, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    void reset() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

[[noreturn]] void runChild(const std::function<QByteArray()>& read, int fd) {
    const bool written = writeAll(fd, read());
    ::_exit(written ? 0 : kChildFailed);
}

// Reads the child's bytes until it closes its end; false when it stays silent too long.
bool readAll(int fd, QByteArray& bytes, std::chrono::milliseconds silence) {
    QByteArray piece(kPiece, Qt::Uninitialized);
    for (;;) {
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(silence.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = ::read(fd, piece.data(), static_cast<size_t>(piece.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        bytes.append(piece.constData(), n);
    }
}

} // namespace

std::optional<QByteArray> readApart(const std::function<QByteArray()>& read,
                                    std::chrono::milliseconds silence) {
    int ends[2];
    if (::pipe(ends) != 0)
        return std::nullopt;
    Descriptor in(ends[0]);
    Descriptor out(ends[1]);
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        in.reset();
        runChild(read, out.get());
    }
    out.reset();
    QByteArray bytes;
    const bool whole = readAll(in.get(), bytes, silence);
    if (!whole)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!whole || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return bytes;
}

#else

// Without fork() the reading stays in this process: a build for such a system needs a helper
// program for it.
std::optional<QByteArray> readApart(const std::function<QByteArray()>& read,
                                    std::chrono::milliseconds) {
    return read();
}

#endif

} // namespace orvento::core::sources
