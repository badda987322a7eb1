#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGHUP (Ctrl+C, kill, a closed terminal or session) as a signal of the
// event loop, so that the editor can end in order: a save under way is finished first (no
// temporary file is left beside a stage) and the recovery copies of unsaved stages are
// written and kept for the next start. A signal the caller chose to ignore (nohup) stays
// ignored. One object per process.
class TerminationSignals {
public:
    // `received` runs in the event loop, once per signal, with the signal's number.
    explicit TerminationSignals(std::function<void(int)> received);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    std::function<void(int)> received_;
    std::unique_ptr<QSocketNotifier> notifier_;
};
