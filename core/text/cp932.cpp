#include "text/cp932.h"

#include <cerrno>
#include <iconv.h>

namespace {

// One iconv descriptor per direction and thread: opening one costs far more than converting
// a short stage text, and a descriptor must not be shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

// glibc's "SHIFT_JIS" maps 0x5C to the yen sign and rejects the NEC and IBM extensions;
// "CP932" is the code page Windows stage files are written in.
Converter& fromCp932() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

Converter& toCp932() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

// What to do with a byte that does not start a valid character.
enum class OnInvalid { fail, replace, keep };

bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool convert(Converter& conv, std::string_view in, std::string& out, OnInvalid onInvalid) {
    out.clear();
    // Both encodings agree on ASCII, which most stage texts are.
    if (isAscii(in)) {
        out.assign(in);
        return true;
    }
    auto invalidByte = [&](char byte) {
        if (onInvalid == OnInvalid::replace)
            out += "\xEF\xBF\xBD"; // U+FFFD
        else
            out += byte;
    };
    if (!conv.ok()) {
        // Without the converter only ASCII can be trusted.
        if (onInvalid == OnInvalid::fail)
            return false;
        for (char c : in) {
            if (static_cast<unsigned char>(c) < 0x80)
                out += c;
            else
                invalidByte(c);
        }
        return true;
    }
    conv.reset();
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    std::string buffer(in.size() * 2 + 16, '\0');
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t r = iconv(conv.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        out.append(buffer.data(), buffer.size() - outLeft);
        if (r != static_cast<std::size_t>(-1))
            continue;
        if (err == E2BIG)
            continue; // the buffer is drained above; convert the rest
        if (err != EILSEQ && err != EINVAL)
            return false;
        if (onInvalid == OnInvalid::fail)
            return false;
        // Skip one byte and start afresh at the next: a broken lead byte must not swallow
        // the valid character after it.
        invalidByte(*inPtr);
        ++inPtr;
        --inLeft;
        conv.reset();
    }
    return true;
}

} // namespace

std::optional<std::string> cp932ToUtf8(std::string_view cp932) {
    std::string out;
    if (!convert(fromCp932(), cp932, out, OnInvalid::fail))
        return std::nullopt;
    return out;
}

std::string cp932ToUtf8Lossy(std::string_view cp932) {
    std::string out;
    convert(fromCp932(), cp932, out, OnInvalid::replace);
    return out;
}

std::string cp932ToUtf8KeepingInvalid(std::string_view cp932) {
    std::string out;
    convert(fromCp932(), cp932, out, OnInvalid::keep);
    return out;
}

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    std::string out;
    if (!convert(toCp932(), utf8, out, OnInvalid::fail))
        return std::nullopt;
    return out;
}

bool isCp932LeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool isCp932TrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}
