#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The three rules that convert between setting texts and numbers everywhere.

// Digit value: start from 0; for each character add its value if it is '1'..'9' (anything
// else adds nothing), then multiply by 10; finally divide by 10. 32-bit two's complement
// arithmetic that wraps. "640" -> 640, "" -> 0, "-5" -> 5, "5 " -> 50, "1a2" -> 102.
std::int32_t digitValue(std::string_view text);

// Decimal text: "0", the digits of a positive number, or "-" and the digits of the magnitude.
std::string decimalText(std::int32_t value);
// The same text appended to `out` (the stage writer emits thousands of them).
void appendDecimalText(std::string& out, std::int32_t value);

// a / b truncated, plus 1 when a % b is not 0. A divisor of 0 has no result; it gives 0 so
// that a stage whose block size has digit value 0 simply has no cells.
std::int32_t ceilingDivision(std::int32_t a, std::int32_t b);
