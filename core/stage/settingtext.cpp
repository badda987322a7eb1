#include "stage/settingtext.h"

#include <limits>

std::int32_t digitValue(std::string_view text) {
    // Unsigned arithmetic gives the 32-bit wrap without undefined behaviour.
    std::uint32_t v = 0;
    for (char c : text) {
        if (c >= '1' && c <= '9')
            v += std::uint32_t(c - '0');
        v *= 10u;
    }
    return static_cast<std::int32_t>(v) / 10;
}

std::string decimalText(std::int32_t value) {
    if (value == 0)
        return "0";
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    std::string digits;
    while (magnitude != 0) {
        digits.insert(digits.begin(), char('0' + magnitude % 10));
        magnitude /= 10;
    }
    return value < 0 ? "-" + digits : digits;
}

std::int32_t ceilingDivision(std::int32_t a, std::int32_t b) {
    // INT32_MIN / -1 overflows; its wrapped 32-bit result is INT32_MIN.
    if (b == -1)
        return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(a));
    return a / b + (a % b != 0 ? 1 : 0);
}
