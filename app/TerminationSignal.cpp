#include "TerminationSignal.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace orvento::app {

namespace {
// The write end a signal handler may touch: only async-signal-safe calls are allowed there.
int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[0], &byte, 1);
}
} // namespace

void TerminationSignal::catchSignals() {
    if (g_signalPipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

TerminationSignal::TerminationSignal(QObject* parent)
    : QObject(parent) {
    catchSignals();
    if (g_signalPipe[1] < 0)
        return;
    m_notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(g_signalPipe[1], &byte, 1);
        Q_EMIT terminationRequested();
    });
}

TerminationSignal::~TerminationSignal() {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
}

} // namespace orvento::app
