// Turns the signals that ask a process to end (SIGTERM, SIGINT, SIGHUP) into a Qt signal on the
// event loop, so that the program ends through its normal path and writes its settings. The
// handler only writes the signal number to a pipe; a QSocketNotifier reads it on the GUI thread.
#pragma once

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one object per process. Once a request has been delivered the
    // signals get their default action back, so a second one ends a program whose end hangs.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or the handlers could not be set up (the defaults then stay).
    bool isActive() const { return notifier_ != nullptr; }

signals:
    void terminationRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* notifier_ = nullptr;
};
