#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// A decoded picture: one zero-filled block made of a 40-byte bitmap information header
// (little-endian) followed by bottom-up rows of blue, green, red bytes, each row padded
// with zeros to a multiple of 4 bytes. The block is laid out exactly as a device-independent
// bitmap so that it can be written out or drawn without conversion.
class PictureBlock {
public:
    static constexpr std::size_t headerSize = 40;

    // Allocates `bytes` zero bytes; throws std::bad_alloc when that is impossible. Large
    // blocks are mapped straight from the system as untouched zero pages (huge pages where
    // the system offers them), so zeroing costs nothing up front and bytes that are never
    // written cost nothing at all.
    explicit PictureBlock(std::size_t bytes);

    std::uint8_t* data() { return bytes_.get(); }
    const std::uint8_t* data() const { return bytes_.get(); }
    std::size_t size() const { return size_; }

    // Header fields, read back from the block (a holder keeps no separate copy).
    std::int32_t width() const;  // biWidth
    std::int32_t height() const; // biHeight
    // Bytes per row for a 24-bit picture of the given width: 3 bytes a pixel rounded up to 4.
    static std::size_t strideFor(std::int32_t width);

private:
    struct Release {
        std::size_t mappedBytes; // 0 (value-initialised): the bytes come from calloc
        void operator()(std::uint8_t* p) const;
    };
    std::unique_ptr<std::uint8_t[], Release> bytes_;
    std::size_t size_;
};

// A picture holder refers to one decoded picture: its header (the block's first byte) and
// its pixels (40 bytes further). Several holders may share one block; it is released when
// the last holder lets go of it.
struct PictureHolder {
    std::shared_ptr<const PictureBlock> block;

    bool empty() const { return !block; }
    const std::uint8_t* pictureHeader() const { return block ? block->data() : nullptr; }
    const std::uint8_t* pictureBits() const {
        return block ? block->data() + PictureBlock::headerSize : nullptr;
    }
    bool operator==(const PictureHolder&) const = default;
};
