#include "text/terminaltext.h"

std::string terminalSafe(std::string_view text, bool keepNewlines) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // C1 controls as UTF-8 (U+0080..U+009F: C2 80..C2 9F) act like ESC on many terminals.
        const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if ((c < 0x20 && !(keepNewlines && c == '\n')) || c == 0x7F) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else if (c1) {
            const auto next = static_cast<unsigned char>(text[++i]);
            out += "\\xc2\\x";
            out += hex[next >> 4];
            out += hex[next & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}
