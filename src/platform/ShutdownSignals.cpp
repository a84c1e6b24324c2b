#include "platform/ShutdownSignals.h"

#include "base/ErrorBoundary.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// One instance at a time owns the handlers: the descriptors are what the C handler can reach.
int g_pipe[2] = {-1, -1};
struct sigaction g_previousTerm {};
struct sigaction g_previousInt {};

extern "C" void onShutdownSignal(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent) {
    if (g_pipe[0] != -1)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    struct sigaction action {};
    action.sa_handler = onShutdownSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &g_previousTerm);
    sigaction(SIGINT, &action, &g_previousInt);

    m_notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    // The program's closing steps run inside shutdownRequested and may fail; the notifier's event
    // delivery must not see that.
    connect(m_notifier, &QSocketNotifier::activated, this,
            ErrorBoundary::guardedSlot(this, &ShutdownSignals::readPipe));
}

ShutdownSignals::~ShutdownSignals() {
    if (!m_notifier)
        return;
    sigaction(SIGTERM, &g_previousTerm, nullptr);
    sigaction(SIGINT, &g_previousInt, nullptr);
    delete m_notifier;
    m_notifier = nullptr;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void ShutdownSignals::readPipe() {
    unsigned char byte = 0;
    while (::read(g_pipe[1], &byte, 1) == 1)
        emit shutdownRequested(byte);
}
