// The self-pipe: the handler only writes one byte, which is safe in a signal
// handler; the event loop sees the pipe readable and closes.
#include "shell/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <sys/resource.h>
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

void TTerminationSignals::TakePending()
{
    if (!Notifier)
        return;
    char bytes[16];
    for (ssize_t n; (n = ::read(SignalPipe[0], bytes, sizeof bytes)) > 0;)
        if (Taken_ == 0)
            Taken_ = static_cast<unsigned char>(bytes[0]);
}

int TTerminationSignals::Taken()
{
    TakePending();
    return Taken_;
}

void TTerminationSignals::Received()
{
    TakePending();
    Close();
}

void StopEventLoops()
{
    // Unlike quit(), exit() also ends the loops of modal dialogs and works
    // before the main loop runs; it marks the thread so that every loop
    // started afterwards returns at once.
    QCoreApplication::exit(0);
}

void EndBySignal(int signal)
{
    std::fflush(nullptr);
    // A dump would show only a program that had already closed cleanly.
    if (signal == SIGQUIT) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
    }
    SetHandler(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
}
