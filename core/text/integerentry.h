#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Reads the text of an integer entry field the way the dialogs' integer exchange does:
// optional blanks or tabs, an optional sign, one or more decimal digits, optional blanks or
// tabs, nothing else. "016" gives 16, " -5 " gives -5; "", "1.5", "5a" and values outside
// the 32-bit range give nothing (a clamped or partial number would silently change what the
// user typed).
std::optional<std::int32_t> parseIntegerEntry(std::string_view text);
