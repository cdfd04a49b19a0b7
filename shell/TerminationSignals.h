// The signals that ask a program to end (SIGTERM, SIGHUP, SIGINT, SIGQUIT)
// turned into an ordinary close through the event loop, so that whatever a
// close does (saving the settings) happens for them too, and the program
// then ended by the signal itself, so that its parent sees why it ended.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class TTerminationSignals : public QObject {
public:
    // From now on each of the signals calls `close` from whichever event
    // loop runs, a dialog's included; the destruction gives the signals
    // their default action back.
    explicit TTerminationSignals(std::function<void()> close);
    ~TTerminationSignals() override;
    TTerminationSignals(const TTerminationSignals&) = delete;
    TTerminationSignals& operator=(const TTerminationSignals&) = delete;

    // The first of the signals taken so far, 0 for none; one that no event
    // loop has seen yet counts too (it is taken here, without a close).
    int Taken();

private:
    void Received();
    void TakePending();

    std::function<void()> Close;
    QSocketNotifier* Notifier = nullptr;
    int Taken_ = 0;
};

// Stops every event loop, those of open dialogs too, and makes any loop
// started later (a message box shown while the program winds down, the main
// loop itself when the signal came before it) return at once.
void StopEventLoops();

// Ends the process by `signal` with its default action, as if the signal
// had never been caught. Returns only if the signal does not end it.
void EndBySignal(int signal);
