// The self-pipe: the handler only writes one byte, which is safe in a signal
// handler; the event loop sees the pipe readable and closes.
#include "shell/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

const int EndingSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};

// Read end, write end.
int SignalPipe[2] = {-1, -1};

extern "C" void WriteSignalByte(int signal)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(signal);
    // A full pipe already holds a close request.
    [[maybe_unused]] const ssize_t written = ::write(SignalPipe[1], &byte, 1);
    errno = savedErrno;
}

void SetHandler(int signal, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

}  // namespace

TTerminationSignals::TTerminationSignals(std::function<void()> close) : Close(std::move(close))
{
    if (::pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    Notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, &TTerminationSignals::Received);
    for (const int signal : EndingSignals)
        SetHandler(signal, WriteSignalByte);
}

TTerminationSignals::~TTerminationSignals()
{
    if (!Notifier)
        return;
    for (const int signal : EndingSignals)
        SetHandler(signal, SIG_DFL);
    delete Notifier;
    ::close(SignalPipe[0]);
    ::close(SignalPipe[1]);
    SignalPipe[0] = SignalPipe[1] = -1;
}

void TTerminationSignals::Received()
{
    char bytes[16];
    while (::read(SignalPipe[0], bytes, sizeof bytes) > 0) {
    }
    Close();
}
