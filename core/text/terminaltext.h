#pragma once

#include <string>
#include <string_view>

// Text for the terminal from what a file or a client gave (stage keys and texts, file names,
// request lines): its control bytes written out as "\xNN", so that an escape sequence in a
// stage cannot set the terminal's title, move its cursor or hide the rest of a line. Line
// feeds are kept when `keepNewlines` (a message of several lines). Every other byte, UTF-8
// and Shift-JIS text included, is left as it is.
std::string terminalSafe(std::string_view text, bool keepNewlines = false);
