#include "pngwriter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

#include <libdeflate.h>

#include "render/framebuffer.h"

// The PNG is written by hand around one libdeflate call: signature, IHDR, one IDAT holding
// the whole zlib stream, IEND. libdeflate at its fastest level compresses several times
// faster than zlib's default level for a slightly larger file; the pixels are the same.
namespace {
constexpr int compressionLevel = 1;

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

void putU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

// Fills in the length and CRC of the chunk whose 4-byte type starts at `type` and whose
// `length` data bytes follow it; the CRC goes right after the data.
void closeChunk(std::uint8_t* type, std::size_t length) {
    putU32(type - 4, std::uint32_t(length));
    putU32(type + 4 + length, std::uint32_t(libdeflate_crc32(0, type, 4 + length)));
}

// Each row as PNG scanline bytes with filter type 1 (Sub): a filter byte, then red, green,
// blue, each minus the same channel of the pixel to its left. On pictures and flat areas
// alike this leaves mostly small values, which the fast level compresses well.
void filterRows(const FrameBuffer& frame, int rows, std::uint8_t* out) {
    for (int y = 0; y < rows; ++y) {
        const std::uint32_t* src = frame.row(y);
        *out++ = 1;
        std::uint32_t left = 0; // the pixel before the first counts as 0
        for (int x = 0; x < frame.width; ++x) {
            const std::uint32_t p = src[x]; // 0xFFRRGGBB
            out[0] = std::uint8_t((p >> 16) - (left >> 16));
            out[1] = std::uint8_t((p >> 8) - (left >> 8));
            out[2] = std::uint8_t(p - left);
            out += 3;
            left = p;
        }
    }
}

// The PNG around the filtered rows `fill` writes into the encoder's input (height rows of
// 1 + 3 * width bytes).
bool encode(int width, int height, const std::function<void(std::uint8_t*)>& fill, PngFile& png,
            std::string& error) {
    if (width <= 0 || height <= 0) {
        error = "the picture to write is empty";
        return false;
    }
    std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(compressionLevel));
    if (!compressor) {
        error = "cannot start the PNG encoder";
        return false;
    }
    const std::size_t rowBytes = 1 + 3 * std::size_t(width);
    const std::size_t rawBytes = rowBytes * std::size_t(height);
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), rawBytes);
    // A chunk's length is a 31-bit number.
    if (bound > 0x7FFFFFFFu) {
        error = "the picture is too large for one PNG data chunk";
        return false;
    }
    // Both buffers are written before they are read (new[] without a value leaves them as the
    // system hands them out: the output's pages past the compressed bytes are never touched).
    const std::unique_ptr<std::uint8_t[]> raw(new std::uint8_t[rawBytes]);
    fill(raw.get());

    static constexpr std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    constexpr std::size_t ihdrAt = 8, idatAt = ihdrAt + 25;
    std::unique_ptr<std::uint8_t[]> out(new std::uint8_t[idatAt + 12 + bound + 12]);
    std::memcpy(out.get(), signature, 8);

    std::uint8_t* ihdr = out.get() + ihdrAt + 4;
    std::memcpy(ihdr, "IHDR", 4);
    putU32(ihdr + 4, std::uint32_t(width));
    putU32(ihdr + 8, std::uint32_t(height));
    ihdr[12] = 8;                       // bits per channel
    ihdr[13] = 2;                       // colour type RGB
    ihdr[14] = ihdr[15] = ihdr[16] = 0; // deflate, adaptive filtering, no interlace
    closeChunk(ihdr, 13);

    std::uint8_t* idat = out.get() + idatAt + 4;
    std::memcpy(idat, "IDAT", 4);
    const std::size_t packed =
        libdeflate_zlib_compress(compressor.get(), raw.get(), rawBytes, idat + 4, bound);
    if (packed == 0) {
        error = "cannot compress the PNG picture";
        return false;
    }
    closeChunk(idat, packed);

    std::uint8_t* iend = idat + 4 + packed + 4 + 4;
    std::memcpy(iend, "IEND", 4);
    closeChunk(iend, 0);

    png.size = std::size_t(iend + 8 - out.get());
    png.bytes = std::move(out);
    return true;
}
} // namespace

bool encodePng(const FrameBuffer& frame, PngFile& png, std::string& error) {
    return encode(
        frame.width, frame.height, [&](std::uint8_t* raw) { filterRows(frame, frame.height, raw); },
        png, error);
}

bool encodePngBands(int width, int height,
                    const std::function<void(FrameBuffer& band, int top)>& paintBand, PngFile& png,
                    std::string& error) {
    return encode(
        width, height,
        [&](std::uint8_t* raw) {
            // About a megabyte of frame a band: it stays in the processor's cache between
            // its paint and its filtering, and is big enough to paint in parts side by side.
            const int bandRows = std::max(1, (256 * 1024) / width);
            const std::size_t rowBytes = 1 + 3 * std::size_t(width);
            FrameBuffer band;
            band.resize(width, std::min(bandRows, height));
            for (int top = 0; top < height; top += bandRows) {
                const int rows = std::min(bandRows, height - top);
                paintBand(band, top);
                filterRows(band, rows, raw + std::size_t(top) * rowBytes);
            }
        },
        png, error);
}
