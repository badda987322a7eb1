#include "terminalhost.h"

#include <cstdio>

#include "text/terminaltext.h"
void TerminalHost::messageBox(const std::string& text) {
    ++messages_;
    std::fprintf(stderr, "%s\n", terminalSafe(text, true).c_str());
}
