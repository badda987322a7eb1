// Feeds arbitrary bytes to the picture loader through a file, as the editor does.
#include <cstdio>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "host/host.h"
#include "picture/pictureloader.h"

namespace {

class QuietHost : public Host {
public:
    void messageBox(const Message&) override {}
};

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

// Every input goes to the loader, large pictures and many-scan files included: the loader's
// own limits (pixels, scans weighted by the blocks they cover) must keep each one quick. An
// input that takes longer than the time limit is a finding; unless the command line sets
// another, the limit is 10 s (a normal decode of the largest picture allowed takes about 1 s
// here, with the sanitizers).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i)
        if (std::strncmp((*argv)[i], "-timeout=", 9) == 0)
            return 0;
    static std::vector<char*> args(*argv, *argv + *argc);
    static char timeout[] = "-timeout=10";
    args.insert(args.begin() + 1, timeout);
    args.push_back(nullptr);
    *argc += 1;
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = inputPath();

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
