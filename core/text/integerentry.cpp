#include "text/integerentry.h"

std::optional<std::int32_t> parseIntegerEntry(std::string_view text) {
    std::size_t i = 0;
    const auto blank = [&](std::size_t k) {
        return k < text.size() && (text[k] == ' ' || text[k] == '\t');
    };
    while (blank(i))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    const std::size_t firstDigit = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t(INT32_MAX) + 1)
            return std::nullopt;
        ++i;
    }
    if (i == firstDigit)
        return std::nullopt;
    while (blank(i))
        ++i;
    if (i != text.size())
        return std::nullopt;
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}
