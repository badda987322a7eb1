#include "shell/startuptrace.h"

#include <chrono>

Q_LOGGING_CATEGORY(startupLog, "rkedit.startup", QtWarningMsg)

namespace {
// Set while the program's static objects are made, before main().
const std::chrono::steady_clock::time_point loaded = std::chrono::steady_clock::now();
} // namespace

void startupStep(const char* step) {
    if (!startupLog().isDebugEnabled())
        return;
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - loaded)
            .count();
    qCDebug(startupLog, "%s: %.2f ms (at %lld us)", step, ms, microsecondsSinceEpoch());
}

long long microsecondsSinceEpoch() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}
