#pragma once

#include <string_view>

// Whether `text` is well-formed UTF-8: no stray continuation byte, no sequence cut short,
// no overlong form, no surrogate, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);
