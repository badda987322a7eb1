// rkstage decode IN.jpg OUT.bmp: the picture loader's block written as a BMP file.
#include <cstdint>
#include <string>
#include <vector>

#include "command.h"
#include "fileio.h"
#include "picture/pictureloader.h"
#include "terminalhost.h"

namespace {

constexpr std::size_t fileHeaderSize = 14;

void putUint32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>(v >> (8 * i));
}

int runDecode(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return usageError("decode");
    if (const int refused = refuseOutputThatIsInput("decode", args[0], args[1]))
        return refused;
    TerminalHost host; // shows the loader's message on stderr
    PictureHolder holder;
    if (!loadPicture(args[0], holder, host))
        return 1;

    // The file header, then the block exactly as it is in memory (its unused zero tail too).
    const PictureBlock& block = *holder.block;
    std::string bmp(fileHeaderSize, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    putUint32(bmp, 2, static_cast<std::uint32_t>(fileHeaderSize + block.size())); // bfSize
    putUint32(bmp, 10, static_cast<std::uint32_t>(fileHeaderSize + PictureBlock::headerSize));
    bmp.append(reinterpret_cast<const char*>(block.data()), block.size());

    std::string error;
    if (!writeFileAtomically(args[1], bmp, error))
        return fail(error);
    return 0;
}

const bool registered = registerCommand({"decode", "IN.jpg OUT.bmp", runDecode});

} // namespace
