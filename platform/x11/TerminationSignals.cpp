#include "platform/x11/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};
int pipeFds[2] = {-1, -1};

void onSignal(int signalNumber)
{
    int saved = errno;
    auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] ssize_t n = ::write(pipeFds[1], &byte, 1); // a full pipe already holds a request
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeFds[0] = pipeFds[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : kSignals) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals()
{
    for (int signalNumber : kSignals) {
        ::signal(signalNumber, SIG_DFL);
    }
    if (pipeFds[0] >= 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        pipeFds[0] = pipeFds[1] = -1;
    }
}

void TerminationSignals::readPipe()
{
    unsigned char bytes[16];
    ssize_t n = ::read(pipeFds[0], bytes, sizeof bytes);
    if (n > 0) {
        // One request is enough. A second signal ends the process at once, as usual, should
        // the orderly end hang.
        notifier_->setEnabled(false);
        for (int signalNumber : kSignals) {
            ::signal(signalNumber, SIG_DFL);
        }
        emit terminationRequested(bytes[0]);
    }
}
