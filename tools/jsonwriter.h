#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Appends `utf8` to `out` as a JSON string literal: quotes, backslashes and control
// characters escaped, everything else as it is (the text must already be valid UTF-8).
void appendJsonString(std::string& out, std::string_view utf8);
