#include "terminalhost.h"

#include <cstdio>

void TerminalHost::messageBox(const std::string& text) {
    ++messages_;
    std::fprintf(stderr, "%s\n", text.c_str());
}
