#include "qt/termination.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace soramado {

namespace {

int signalPipe[2] = {-1, -1};

// Set by the first signal. A storm of later ones (a service manager retrying,
// a script in a loop) then costs the handler one test each and never fills
// the socket, which nothing reads after the first byte.
std::atomic_flag requested = ATOMIC_FLAG_INIT;

QPointer<QSocketNotifier> listening;

extern "C" void onTerminationSignal(int)
{
    // Only async-signal-safe work here: the event loop does the rest.
    if (requested.test_and_set())
        return;
    const int interrupted = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
    errno = interrupted;
}

bool setFlags(int fd)
{
    const int status = ::fcntl(fd, F_GETFL);
    const int descriptor = ::fcntl(fd, F_GETFD);
    return status >= 0 && descriptor >= 0 && ::fcntl(fd, F_SETFL, status | O_NONBLOCK) == 0 &&
           ::fcntl(fd, F_SETFD, descriptor | FD_CLOEXEC) == 0;
}

// The handler never blocks, whatever the socket holds.
bool openSignalPipe()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return false;
    if (setFlags(signalPipe[0]) && setFlags(signalPipe[1]))
        return true;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
    return false;
}

void drainSignalPipe()
{
    char bytes[64];
    while (::read(signalPipe[1], bytes, sizeof bytes) > 0) {
    }
}

void installHandlers()
{
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    // Ctrl+C in the terminal and a hang-up end the clock as politely, unless
    // whoever started it chose to ignore them (nohup, a background job).
    for (const int signal : {SIGINT, SIGHUP}) {
        struct sigaction before = {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
            sigaction(signal, &action, nullptr);
    }
}

} // namespace

void closeOnTermination(QWidget* window)
{
    if (signalPipe[0] < 0) {
        if (!openSignalPipe())
            return;
        installHandlers();
    }
    delete listening;
    drainSignalPipe();
    listening = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, window);
    QObject::connect(listening, &QSocketNotifier::activated, window, [window] {
        drainSignalPipe();
        listening->setEnabled(false);
        window->close();
    });
    requested.clear();
}

} // namespace soramado
