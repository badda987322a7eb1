// Feeds arbitrary bytes to the picture loader through a file, as the editor does.
#include <cstdio>

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include <jpeglib.h>
#include <unistd.h>

#include "host/host.h"
#include "picture/pictureloader.h"

namespace {

class QuietHost : public Host {
public:
    void messageBox(const std::string&) override {}
};

struct PeekError {
    jpeg_error_mgr manager;
    std::jmp_buf jumpTarget;
};

[[noreturn]] void peekErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<PeekError*>(cinfo->err)->jumpTarget, 1);
}

// Pixels the frame header claims, or 0 when there is no readable header. Inputs that claim
// a large picture the loader accepts would spend seconds decoding nothing but padding; they
// are skipped so that the fuzzer keeps exploring. Refused sizes are still fed to the loader.
std::uint64_t claimedPixels(const std::uint8_t* data, std::size_t size) {
    jpeg_decompress_struct cinfo{};
    PeekError error;
    cinfo.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = peekErrorExit;
    error.manager.emit_message = [](j_common_ptr, int) {};
    if (setjmp(error.jumpTarget)) {
        jpeg_destroy_decompress(&cinfo);
        return 0;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    const std::uint64_t pixels = std::uint64_t(cinfo.image_width) * cinfo.image_height;
    jpeg_destroy_decompress(&cinfo);
    return pixels;
}

std::string inputPath() {
    char pattern[] = "/tmp/fuzz_picture_XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0)
        std::abort();
    close(fd);
    static std::string made = pattern;
    std::atexit([] { unlink(made.c_str()); });
    return made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = inputPath();
    const std::uint64_t pixels = claimedPixels(data, size);
    if (pixels > (std::uint64_t(1) << 20) && pixels <= maxPicturePixels)
        return 0;

    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    // The message box has nobody to show to. (Run with -close_fd_mask=2 to also drop the
    // library's own messages on stderr.)
    static QuietHost host;
    PictureHolder holder;
    if (loadPicture(path, holder, host)) {
        // Every byte of the block is readable and the header matches its size.
        const PictureBlock& b = *holder.block;
        const std::size_t expected =
            std::size_t(4) * std::size_t(b.width()) * std::size_t(b.height()) +
            PictureBlock::headerSize;
        if (b.width() <= 0 || b.height() <= 0 || b.size() != expected)
            std::abort();
        unsigned sum = 0;
        for (std::size_t i = 0; i < b.size(); i += 64)
            sum += b.data()[i];
        if (sum == 0xFFFFFFFFu) // keeps the reads from being optimised away
            std::abort();
    }
    return 0;
}
