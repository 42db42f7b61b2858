#include "output/MailProgramHandOver.h"

#include "core/UserInteraction.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace orvento::output {

namespace {

constexpr int kCannotExecute = 127;
constexpr int kSignalled = 128;
constexpr int kPollMs = 50;
constexpr int kReportFd = 3; // the waiter's end of the pipe, after standard input, output, error

struct ProgramEnd {
    enum class Kind { NotStarted, Exited, StillRunning };
    Kind kind = Kind::NotStarted;
    int code = 0;
};

void retryingWait(pid_t pid, int* status) {
    while (waitpid(pid, status, 0) < 0 && errno == EINTR) {
    }
}

// Runs the program in a process of its own that is no child of this one (a waiter in between
// reports its exit code through a pipe), so that it outlives this program and leaves no zombie
// when it is still running once the hand-over time is up. Only async-signal-safe calls happen
// between fork and exec.
ProgramEnd runDetached(const QStringList& command, core::UserInteraction& ui,
                       std::chrono::milliseconds limit) {
    std::vector<QByteArray> storage;
    storage.reserve(static_cast<std::size_t>(command.size()));
    for (const QString& part : command)
        storage.push_back(QFile::encodeName(part));
    std::vector<char*> argv;
    for (QByteArray& part : storage)
        argv.push_back(part.data());
    argv.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return {};
    const pid_t first = fork();
    if (first < 0) {
        close(fds[0]);
        close(fds[1]);
        return {};
    }
    if (first == 0) {
        setsid();
        const pid_t waiter = fork();
        if (waiter != 0)
            _exit(waiter < 0 ? 1 : 0);
        // Only the pipe stays open: a copy of a database file or its lock file held here would
        // keep this program's locks alive for as long as the mail program runs.
        if (fds[1] != kReportFd) {
            dup2(fds[1], kReportFd);
            close(fds[1]);
        }
        close_range(kReportFd + 1, ~0U, 0);
        struct sigaction standard {};
        standard.sa_handler = SIG_DFL;
        // This program's handlers would reap the mail program before the waiter does.
        for (const int sig : {SIGCHLD, SIGTERM, SIGINT})
            sigaction(sig, &standard, nullptr);
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGPIPE, &ignore, nullptr);
        sigaction(SIGHUP, &ignore, nullptr);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        const pid_t mail = fork();
        if (mail == 0) {
            close(kReportFd);
            sigaction(SIGPIPE, &standard, nullptr);
            sigaction(SIGHUP, &standard, nullptr);
            execve(argv[0], argv.data(), environ);
            _exit(kCannotExecute);
        }
        int code = kCannotExecute;
        if (mail > 0) {
            int status = 0;
            retryingWait(mail, &status);
            code = WIFEXITED(status) ? WEXITSTATUS(status) : kSignalled + WTERMSIG(status);
        }
        [[maybe_unused]] const ssize_t written = write(kReportFd, &code, sizeof code);
        _exit(0);
    }
    close(fds[1]);
    int status = 0;
    retryingWait(first, &status);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        close(fds[0]);
        return {};
    }
    ProgramEnd end{ProgramEnd::Kind::StillRunning, 0};
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < limit.count()) {
        pollfd p{fds[0], POLLIN, 0};
        const int ready = poll(&p, 1, kPollMs);
        if (ready > 0) {
            int code = 0;
            const ssize_t got = read(fds[0], &code, sizeof code);
            if (got == static_cast<ssize_t>(sizeof code))
                end = {code == kCannotExecute ? ProgramEnd::Kind::NotStarted
                                              : ProgramEnd::Kind::Exited,
                       code};
            else
                end = {};
            break;
        }
        ui.keepAlive();
    }
    close(fds[0]);
    return end;
}

QString findProgram(const QString& name) {
    if (name.contains(QLatin1Char('/'))) {
        const QFileInfo info(name);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(name);
}

} // namespace

QString noMailProgramMessage() {
    return QStringLiteral(
        "Na tomto počítači není nastaven žádný poštovní program, který by e-mail převzal.\n\n"
        "Nastavte výchozí poštovní program, nebo v nabídce Ostatní – \"Nastavení e-mailu\" "
        "zvolte odesílání přímo přes poštovní server (SMTP).");
}

MailProgramHandOver::MailProgramHandOver()
    : m_desktop(true) {}

MailProgramHandOver::MailProgramHandOver(QString commandLine)
    : m_desktop(false)
    , m_command(std::move(commandLine)) {}

QString MailProgramHandOver::mailtoUrl(const QString& address) {
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address.trimmed(), QUrl::DecodedMode);
    return url.toString(QUrl::FullyEncoded);
}

std::optional<QStringList> MailProgramHandOver::commandFor(const MailMessage& message) const {
    if (m_desktop) {
        QStringList command{QStringLiteral("xdg-email"), QStringLiteral("--utf8")};
        for (const QString& file : message.attachments)
            command << QStringLiteral("--attach") << file;
        command << mailtoUrl(message.to);
        return command;
    }
    const QStringList parts = QProcess::splitCommand(m_command);
    if (parts.isEmpty())
        return std::nullopt;
    const QString to = QStringLiteral("%TO%");
    const QString files = QStringLiteral("%ATTACHMENTS%");
    QStringList command;
    for (const QString& part : parts) {
        if (part.contains(files, Qt::CaseInsensitive)) {
            for (const QString& file : message.attachments)
                command << QString(part).replace(files, file, Qt::CaseInsensitive);
            continue;
        }
        command << QString(part).replace(to, message.to.trimmed(), Qt::CaseInsensitive);
    }
    return command;
}

MailResult MailProgramHandOver::send(const MailMessage& message, core::UserInteraction& ui) {
    std::optional<QStringList> command = commandFor(message);
    if (!command || command->isEmpty())
        return MailResult::failed(
            QStringLiteral("V nastavení e-mailu není zadán příkaz poštovního programu."));
    const QString program = findProgram(command->front());
    if (program.isEmpty())
        return MailResult::failed(
            m_desktop ? noMailProgramMessage()
                      : QStringLiteral("Poštovní program %1 nebyl nalezen.").arg(command->front()));
    const QString shown = command->front();
    command->front() = program;
    const ProgramEnd end = runDetached(*command, ui, m_handOverTime);
    switch (end.kind) {
    case ProgramEnd::Kind::NotStarted:
        return MailResult::failed(
            m_desktop ? noMailProgramMessage()
                      : QStringLiteral("Poštovní program %1 nelze spustit.").arg(shown));
    case ProgramEnd::Kind::StillRunning:
        return MailResult::sent();
    case ProgramEnd::Kind::Exited:
        break;
    }
    if (end.code == 0)
        return MailResult::sent();
    if (end.code == kNoMailProgram)
        return MailResult::failed(noMailProgramMessage());
    return MailResult::failed(
        QStringLiteral("Poštovní program %1 e-mail nepřevzal (skončil s kódem %2).")
            .arg(shown)
            .arg(end.code));
}

} // namespace orvento::output
