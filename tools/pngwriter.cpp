#include "pngwriter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <libdeflate.h>
#include <zlib.h>

#include "render/framebuffer.h"
#include "render/paintworkers.h"

// The PNG is written by hand: signature, IHDR, one IDAT holding the zlib stream, IEND. The
// filtered rows are cut into pieces of a fixed size that are compressed side by side, each as
// raw deflate blocks with zlib's run-length strategy: after the Sub filter most repeats are
// runs, and matching only those costs a fraction of a full match search. Every piece but the
// last ends on a sync flush (an empty stored block, so it ends on a byte), which makes the
// pieces one deflate stream when laid end to end. The pieces do not depend on how many
// processors there are, so the file's bytes are the same on any machine.
namespace {
constexpr int compressionLevel = 1;
constexpr std::size_t pieceBytes = 2 * 1024 * 1024;

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
void filterRows(const FrameBuffer& frame, int first, int rows, std::uint8_t* out) {
    for (int y = first; y < first + rows; ++y) {
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

// One piece of the filtered rows as raw deflate blocks, written at `out` (room for `room`
// bytes). The last piece closes the stream; the others end on a byte, the stream still open.
// 0 when zlib fails.
std::size_t deflatePiece(const std::uint8_t* in, std::size_t size, bool last, std::uint8_t* out,
                         std::size_t room) {
    z_stream z{};
    if (deflateInit2(&z, compressionLevel, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK)
        return 0;
    z.next_in = const_cast<std::uint8_t*>(in);
    z.avail_in = uInt(size);
    z.next_out = out;
    z.avail_out = uInt(room);
    const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
    const int r = deflate(&z, flush);
    // All input taken and room to spare: the flush is complete.
    const bool done = last ? r == Z_STREAM_END : (r == Z_OK && z.avail_in == 0 && z.avail_out > 0);
    const std::size_t written = z.total_out;
    deflateEnd(&z);
    return done ? written : 0;
}

// The room a piece of `size` input bytes may take compressed: zlib's bound for the stream
// plus the sync flush's empty stored block.
std::size_t pieceRoom(std::size_t size) {
    z_stream z{};
    if (deflateInit2(&z, compressionLevel, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK)
        return 0;
    const std::size_t bound = deflateBound(&z, uLong(size)) + 16;
    deflateEnd(&z);
    return bound;
}

// About a megabyte of frame: rows of that many pixels stay in the processor's cache between
// their paint and their filtering, and a band of them is big enough to paint in parts side
// by side.
int chunkRowsFor(int width) {
    return std::max(1, (256 * 1024) / std::max(1, width));
}

// Where the filtered rows come from: fill(top, rows, out) writes rows top .. top + rows - 1
// as PNG scanlines (1 + 3 * width bytes each) at `out`. The encoder asks for the rows in order,
// chunkRows (at least 1) at a time, fewer for the last chunk.
struct RowSource {
    int chunkRows = 1;
    std::function<void(int top, int rows, std::uint8_t* out)> fill;
};

// The PNG around the filtered rows of `source` (height rows of 1 + 3 * width bytes).
bool encode(int width, int height, const RowSource& source, PngFile& png, std::string& error) {
    if (width <= 0 || height <= 0) {
        error = "the picture to write is empty";
        return false;
    }
    const std::size_t rowBytes = 1 + 3 * std::size_t(width);
    const std::size_t rawBytes = rowBytes * std::size_t(height);
    const std::size_t pieces = (rawBytes + pieceBytes - 1) / pieceBytes;
    const std::size_t lastSize = rawBytes - (pieces - 1) * pieceBytes;
    const std::size_t fullRoom = pieceRoom(pieceBytes), lastRoom = pieceRoom(lastSize);
    if (fullRoom == 0 || lastRoom == 0) {
        error = "cannot start the PNG encoder";
        return false;
    }
    const std::size_t bound = 2 + (pieces - 1) * fullRoom + lastRoom + 4;
    // A chunk's length is a 31-bit number.
    if (bound > 0x7FFFFFFFu) {
        error = "the picture is too large for one PNG data chunk";
        return false;
    }
    // The filtered rows are compressed a few pieces at a time, through a window that holds
    // those pieces and what the last chunk of rows filled past them: the whole picture's rows
    // are never held at once, and the window's pages, reused for every batch, are cleared by
    // the system once instead of for every megabyte of the picture. Both buffers are written
    // before they are read (new[] without a value leaves them as the system hands them out:
    // the output's pages past the compressed bytes are never touched).
    constexpr std::size_t batchPieces = 4;
    const int chunkRows = std::max(1, source.chunkRows);
    const std::size_t chunkBytes = std::size_t(chunkRows) * rowBytes;
    const std::size_t windowBytes = std::min(rawBytes, batchPieces * pieceBytes + chunkBytes);
    const std::unique_ptr<std::uint8_t[]> window(new std::uint8_t[windowBytes]);

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
    std::uint8_t* stream = idat + 4;
    stream[0] = 0x78; // deflate with a 32 KiB window
    stream[1] = 0x01; // fastest compression; makes the header a multiple of 31

    // Each piece is compressed into its own slot of the output, then the slots are closed up.
    struct Piece {
        std::size_t size = 0;
        std::uint32_t adler = 1;
    };
    std::vector<Piece> done(pieces);
    std::size_t windowStart = 0; // the raw offset of the window's first byte
    std::size_t windowEnd = 0;   // the raw offset past the last row filled
    int filledRows = 0;
    for (std::size_t first = 0; first < pieces; first += batchPieces) {
        const std::size_t count = std::min(batchPieces, pieces - first);
        const std::size_t start = first * pieceBytes;
        const std::size_t end = std::min(rawBytes, (first + count) * pieceBytes);
        // What the last chunk filled past the previous batch (less than a chunk) moves to the
        // window's start; the rows after it are filled behind it.
        std::memmove(window.get(), window.get() + (start - windowStart), windowEnd - start);
        windowStart = start;
        while (windowEnd < end) {
            const int rows = std::min(chunkRows, height - filledRows);
            source.fill(filledRows, rows, window.get() + (windowEnd - windowStart));
            filledRows += rows;
            windowEnd += std::size_t(rows) * rowBytes;
        }
        PaintWorkers::run(int(count), [&](int i) {
            const std::size_t k = first + std::size_t(i);
            const std::uint8_t* in = window.get() + (k * pieceBytes - windowStart);
            const bool last = k == pieces - 1;
            const std::size_t size = last ? lastSize : pieceBytes;
            done[k].size =
                deflatePiece(in, size, last, stream + 2 + k * fullRoom, last ? lastRoom : fullRoom);
            done[k].adler = std::uint32_t(libdeflate_adler32(1, in, size));
        });
    }
    std::size_t packed = 2;
    uLong adler = 1;
    for (std::size_t k = 0; k < pieces; ++k) {
        if (done[k].size == 0) {
            error = "cannot compress the PNG picture";
            return false;
        }
        std::memmove(stream + packed, stream + 2 + k * fullRoom, done[k].size);
        packed += done[k].size;
        const std::size_t size = k == pieces - 1 ? lastSize : pieceBytes;
        adler = adler32_combine(adler, done[k].adler, z_off_t(size));
    }
    putU32(stream + packed, std::uint32_t(adler));
    packed += 4;
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
    const RowSource rows{chunkRowsFor(frame.width), [&](int top, int count, std::uint8_t* out) {
                             filterRows(frame, top, count, out);
                         }};
    return encode(frame.width, frame.height, rows, png, error);
}

bool encodePngBands(int width, int height,
                    const std::function<void(FrameBuffer& band, int top)>& paintBand, PngFile& png,
                    std::string& error) {
    const int bandRows = chunkRowsFor(width);
    FrameBuffer band;
    if (width > 0 && height > 0)
        band.resize(width, std::min(bandRows, height));
    const RowSource rows{bandRows, [&](int top, int count, std::uint8_t* out) {
                             paintBand(band, top);
                             filterRows(band, 0, count, out);
                         }};
    return encode(width, height, rows, png, error);
}
