#include "terminalhost.h"

#include <cstdio>

#include "text/terminaltext.h"
void TerminalHost::messageBox(const Message& message) {
    ++messages_;
    std::fprintf(stderr, "%s\n", terminalSafe(messageText(message), true).c_str());
}
