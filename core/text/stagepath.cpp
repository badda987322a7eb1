#include "text/stagepath.h"

#include "text/cp932.h"

namespace {
bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// Calls `f(i)` for every byte of `text` that stands on its own, skipping the second byte of
// each two-byte CP932 character (which may equal "\").
template <typename F> void forEachSingleByte(std::string_view text, F f) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (isCp932LeadByte(c) && i + 1 < text.size() &&
            isCp932TrailByte(static_cast<unsigned char>(text[i + 1]))) {
            ++i;
            continue;
        }
        f(i);
    }
}
} // namespace

std::string leafName(std::string_view cp932) {
    std::size_t cut = std::string_view::npos;
    forEachSingleByte(cp932, [&](std::size_t i) {
        if (isSeparator(cp932[i]) && i >= 1 && i + 2 <= cp932.size())
            cut = i;
    });
    if (cut == std::string_view::npos)
        return std::string(cp932);
    return std::string(cp932.substr(cut + 1));
}

std::string folderOf(std::string_view path) {
    const std::size_t cut = path.rfind('/');
    if (cut == std::string_view::npos)
        return {};
    return std::string(path.substr(0, cut + 1));
}

std::string toFileSystemPath(std::string_view cp932) {
    std::string slashed(cp932);
    forEachSingleByte(cp932, [&](std::size_t i) {
        if (cp932[i] == '\\')
            slashed[i] = '/';
    });
    return cp932ToUtf8KeepingInvalid(slashed);
}
