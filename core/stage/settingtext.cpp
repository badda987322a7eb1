#include "stage/settingtext.h"

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

void appendDecimalText(std::string& out, std::int32_t value) {
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    char digits[11];
    char* p = digits + sizeof digits;
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        out += '-';
    out.append(p, digits + sizeof digits);
}

std::string decimalText(std::int32_t value) {
    std::string text;
    appendDecimalText(text, value);
    return text;
}

std::int32_t ceilingDivision(std::int32_t a, std::int32_t b) {
    if (b == 0)
        return 0;
    // INT32_MIN / -1 overflows; its wrapped 32-bit result is INT32_MIN.
    if (b == -1)
        return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(a));
    return a / b + (a % b != 0 ? 1 : 0);
}
