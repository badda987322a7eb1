#include "pngwriter.h"

#include <csetjmp>
#include <cstdint>
#include <vector>

#include <png.h>

#include "render/framebuffer.h"

namespace {
struct Output {
    std::string* png;
    const char* error = nullptr;
};

void appendBytes(png_structp p, png_bytep data, png_size_t length) {
    auto* out = static_cast<Output*>(png_get_io_ptr(p));
    out->png->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

[[noreturn]] void onError(png_structp p, png_const_charp message) {
    auto* out = static_cast<Output*>(png_get_error_ptr(p));
    out->error = message; // libpng keeps its message text alive until the struct is destroyed
    png_longjmp(p, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Holds no object with a destructor: libpng leaves it with longjmp on an error. `row` has
// room for one RGB row.
bool encode(const FrameBuffer& frame, Output& out, std::uint8_t* row, std::string& error) {
    png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, &out, onError, onWarning);
    if (!p) {
        error = "cannot start the PNG encoder";
        return false;
    }
    png_infop info = png_create_info_struct(p);
    if (!info || setjmp(png_jmpbuf(p))) {
        error = out.error ? out.error : "cannot encode the PNG picture";
        png_destroy_write_struct(&p, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(p, &out, appendBytes, flushNothing);
    png_set_IHDR(p, info, png_uint_32(frame.width), png_uint_32(frame.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(p, info);
    for (int y = 0; y < frame.height; ++y) {
        const std::uint32_t* src = frame.row(y);
        for (int x = 0; x < frame.width; ++x) { // 0xFFRRGGBB -> R, G, B
            row[3 * x] = std::uint8_t(src[x] >> 16);
            row[3 * x + 1] = std::uint8_t(src[x] >> 8);
            row[3 * x + 2] = std::uint8_t(src[x]);
        }
        png_write_row(p, row);
    }
    png_write_end(p, info);
    png_destroy_write_struct(&p, &info);
    return true;
}
} // namespace

bool encodePng(const FrameBuffer& frame, std::string& png, std::string& error) {
    if (frame.width <= 0 || frame.height <= 0) {
        error = "the picture to write is empty";
        return false;
    }
    png.clear();
    Output out{&png};
    std::vector<std::uint8_t> row(std::size_t(frame.width) * 3);
    return encode(frame, out, row.data(), error);
}
