#include "shell/terminationsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The handler's end of the pipe: a signal handler may only write to it.
int signalWriteEnd = -1;
int signalReadEnd = -1;
const int handled[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void noteSignal(int signal) {
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &byte, 1);
}
} // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> received)
    : received_(std::move(received)) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends) != 0)
        return; // the default action stays: the editor ends at once, as it always did
    signalWriteEnd = ends[0];
    signalReadEnd = ends[1];
    notifier_ = std::make_unique<QSocketNotifier>(signalReadEnd, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
        unsigned char byte = 0;
        while (::read(signalReadEnd, &byte, 1) == 1)
            received_(byte);
    });
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : handled) {
        struct sigaction old {};
        if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue;
        ::sigaction(s, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    if (notifier_ == nullptr)
        return;
    for (const int s : handled) {
        struct sigaction old {};
        if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == noteSignal)
            std::signal(s, SIG_DFL);
    }
    notifier_.reset();
    ::close(signalReadEnd);
    ::close(signalWriteEnd);
    signalReadEnd = signalWriteEnd = -1;
}
