// Reads arbitrary bytes as the clipboard's plain-text cells. Whatever is accepted is a block
// within the limits that writes back as text read to the very same block, and through the
// binary form too; whatever is refused says why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "stage/cellblock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<CellBlock> block = CellBlock::fromText(text, &error);
    if (!block) {
        if (error.empty())
            std::abort();
        return 0;
    }
    if (block->empty() || block->width() > CellBlock::maxSide ||
        block->height() > CellBlock::maxSide)
        std::abort();
    const std::optional<CellBlock> again = CellBlock::fromText(block->toText());
    if (!again || !(*again == *block))
        std::abort();
    const std::optional<CellBlock> bytes = CellBlock::fromBytes(block->toBytes());
    if (!bytes || !(*bytes == *block))
        std::abort();
    return 0;
}
