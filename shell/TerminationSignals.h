// The signals that ask a program to end (SIGTERM, SIGHUP, SIGINT, SIGQUIT)
// turned into an ordinary close through the event loop, so that whatever a
// close does (saving the settings) happens for them too.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class TTerminationSignals : public QObject {
public:
    // From now on each of the signals calls `close` from the event loop; the
    // destruction gives the signals their default action back.
    explicit TTerminationSignals(std::function<void()> close);
    ~TTerminationSignals() override;
    TTerminationSignals(const TTerminationSignals&) = delete;
    TTerminationSignals& operator=(const TTerminationSignals&) = delete;

private:
    void Received();

    std::function<void()> Close;
    QSocketNotifier* Notifier = nullptr;
};
