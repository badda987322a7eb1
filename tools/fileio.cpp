#include "fileio.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

// The temporary file being written, for the signal handler: a fixed buffer, set only while
// the signals are blocked, read by the handler with async-signal-safe calls only.
char pendingTemporary[PATH_MAX + 64];
volatile std::sig_atomic_t havePendingTemporary = 0;

const int cleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeTemporaryAndDie(int signal) {
    if (havePendingTemporary)
        ::unlink(pendingTemporary);
    // Die of the same signal, so the parent sees how the process ended.
    std::signal(signal, SIG_DFL);
    ::raise(signal);
}

void installCleanupHandlers() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    struct sigaction action {};
    action.sa_handler = removeTemporaryAndDie;
    sigemptyset(&action.sa_mask);
    for (int s : cleanupSignals)
        sigaddset(&action.sa_mask, s);
    for (int s : cleanupSignals) {
        struct sigaction old {};
        // A signal the caller chose to ignore (nohup) stays ignored.
        if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue;
        ::sigaction(s, &action, nullptr);
    }
}

class SignalsBlocked {
public:
    SignalsBlocked() {
        sigset_t set;
        sigemptyset(&set);
        for (int s : cleanupSignals)
            sigaddset(&set, s);
        ::sigprocmask(SIG_BLOCK, &set, &old_);
    }
    ~SignalsBlocked() { ::sigprocmask(SIG_SETMASK, &old_, nullptr); }
    SignalsBlocked(const SignalsBlocked&) = delete;
    SignalsBlocked& operator=(const SignalsBlocked&) = delete;

private:
    sigset_t old_;
};

// Keeps the signal handler told of the temporary that exists: the name is set with the
// signals blocked, so the handler never sees half of it.
class SignalCleanup : public TemporaryObserver {
public:
    void begin() override {
        installCleanupHandlers();
        blocked_.emplace();
    }
    void made(const char* name) override {
        const std::size_t length = std::strlen(name);
        if (length < sizeof pendingTemporary) {
            std::memcpy(pendingTemporary, name, length + 1);
            havePendingTemporary = 1;
        }
        blocked_.reset();
    }
    void end() override {
        blocked_.reset();
        const SignalsBlocked blocked;
        havePendingTemporary = 0;
    }

private:
    std::optional<SignalsBlocked> blocked_;
};

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    SignalCleanup cleanup;
    OutputOptions options;
    options.temporaryTag = temporarySuffix;
    options.observer = &cleanup;
    OutputFailure failure;
    if (writeOutputFile(path, bytes, options, failure))
        return true;
    error = path + ": " + describeOutputFailure(failure);
    return false;
}
