#include "picture/pictureloader.h"

// jpeglib.h uses FILE and size_t without including their headers.
#include <cstdio>

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include <jpeglib.h>
// After jpeglib.h: the message codes need its types.
#include <jerror.h>
#include <sys/stat.h>

#include "host/host.h"

namespace {

const char* const cannotOpenMessage = "ファイルをオープンできません。";

// The library's standard error manager with the place to jump back to on a fatal error.
// The manager comes first so that the library's pointer to it is a pointer to the record.
struct ErrorRecord {
    jpeg_error_mgr manager;
    std::jmp_buf jumpTarget;
};

// Replaces the standard error_exit, which would end the process: the library's message goes
// to its usual output (stderr, never seen by the user), then control goes back to the loader.
[[noreturn]] void errorExit(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    std::longjmp(reinterpret_cast<ErrorRecord*>(cinfo->err)->jumpTarget, 1);
}

// How the library's output rows become the block's blue, green, red pixels.
enum class RowForm {
    Bgr,  // the library writes blue, green, red itself, straight into the block
    Cmyk, // four samples a pixel, converted here
    Other // an unusual component count: the first sample of each pixel is shown as grey
};

// What the decoding hands back to loadPicture. Lives in loadPicture's frame so that nothing
// with a destructor is alive in the function that calls setjmp.
struct DecodeJob {
    std::FILE* file = nullptr;
    // Null: the picture at its own size. Else asked for the eighths to decode at, given the
    // frame's size (see loadPictureScaled).
    const PictureScaleChoice* chooseEighths = nullptr;
    PictureBlock* block = nullptr; // owned by loadPicture once decode returns
    std::uint32_t width = 0;       // of the decoded rows
    std::uint32_t height = 0;
    std::uint32_t frameWidth = 0; // of the picture in the file
    std::uint32_t frameHeight = 0;
};

// Allocation cannot throw through the library's C frames: failure comes back as null.
PictureBlock* newBlock(std::size_t bytes) noexcept {
    try {
        return new PictureBlock(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

RowForm chooseOutput(jpeg_decompress_struct& cinfo) {
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE: // grey is replicated to all three channels by the library
    case JCS_YCbCr:
    case JCS_RGB:
        // For three-component pictures these are the bytes the default RGB output gives with
        // red and blue swapped; asking for them directly saves a pass over every pixel.
        cinfo.out_color_space = JCS_EXT_BGR;
        return RowForm::Bgr;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK; // the library turns YCCK into CMYK
        return RowForm::Cmyk;
    default:
        return RowForm::Other;
    }
}

// a * b / 255, rounded, for samples 0..255.
inline std::uint8_t scale255(unsigned a, unsigned b) {
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

// Photoshop and most other writers that mark their files with an Adobe segment store CMYK
// inverted (255 = no ink); files without the segment store plain CMYK.
void cmykRowToBgr(const JSAMPLE* in, std::uint8_t* out, std::uint32_t width, bool inverted) {
    for (std::uint32_t x = 0; x < width; ++x, in += 4, out += 3) {
        unsigned c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = scale255(y, k);
        out[1] = scale255(m, k);
        out[2] = scale255(c, k);
    }
}

void firstSampleRowToBgr(const JSAMPLE* in, std::uint8_t* out, std::uint32_t width,
                         unsigned components) {
    for (std::uint32_t x = 0; x < width; ++x, in += components, out += 3)
        out[0] = out[1] = out[2] = in[0];
}

// Fails the decoding the way a library error does, with the library message that fits.
void refuse(jpeg_decompress_struct& cinfo, int messageCode, int parameter = 0) {
    cinfo.err->msg_code = messageCode;
    cinfo.err->msg_parm.i[0] = parameter;
    (*cinfo.err->error_exit)(reinterpret_cast<j_common_ptr>(&cinfo));
}

// Runs the library from the open file to the last row. Only plain C objects live here:
// a fatal library error longjmps back into this frame.
bool decode(DecodeJob& job) {
    jpeg_decompress_struct cinfo{}; // zeroed, so destroying it is safe at any point
    ErrorRecord error;
    cinfo.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = errorExit;
    if (setjmp(error.jumpTarget)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, job.file);
    jpeg_read_header(&cinfo, TRUE);
    // Refused before jpeg_start_decompress, which may already allocate whole-picture buffers.
    if (!pictureSizeAllowed(cinfo.image_width, cinfo.image_height))
        refuse(cinfo, JERR_IMAGE_TOO_BIG, 8192);
    const RowForm form = chooseOutput(cinfo);
    job.frameWidth = cinfo.image_width;
    job.frameHeight = cinfo.image_height;
    std::uint32_t expectedWidth = cinfo.image_width;
    std::uint32_t expectedHeight = cinfo.image_height;
    if (job.chooseEighths) {
        // The library's DCT scaling: the picture comes out at eighths/8 of its size, rounded
        // up, for a fraction of the work of a full decode.
        const unsigned eighths = (*job.chooseEighths)(cinfo.image_width, cinfo.image_height);
        cinfo.scale_num = eighths < 1 ? 1 : eighths > 8 ? 8 : eighths;
        cinfo.scale_denom = 8;
        jpeg_calc_output_dimensions(&cinfo);
        expectedWidth = cinfo.output_width;
        expectedHeight = cinfo.output_height;
    }
    jpeg_start_decompress(&cinfo);

    const std::uint32_t width = cinfo.output_width;
    const std::uint32_t height = cinfo.output_height;
    const unsigned components = static_cast<unsigned>(cinfo.output_components);
    // The output has the size asked for (the frame's own unless scaled); the block is laid
    // out for it and nothing below may write outside it.
    if (width != expectedWidth || height != expectedHeight || width == 0 || height == 0 ||
        (form != RowForm::Other && components != (form == RowForm::Bgr ? 3u : 4u)))
        refuse(cinfo, JERR_CONVERSION_NOTIMPL);

    JSAMPARRAY sampleRow = nullptr;
    if (form != RowForm::Bgr)
        sampleRow = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                               width * components, 1);

    const std::size_t stride = PictureBlock::strideFor(static_cast<std::int32_t>(width));
    const std::uint64_t bytes = std::uint64_t(4) * width * height + PictureBlock::headerSize;
    job.block = newBlock(static_cast<std::size_t>(bytes));
    if (!job.block)
        refuse(cinfo, JERR_OUT_OF_MEMORY);
    job.width = width;
    job.height = height;
    std::uint8_t* const pixels = job.block->data() + PictureBlock::headerSize;

    // Picture row r (from the top) goes to pixels + (height - 1 - r) * stride; the padding
    // after each row is already zero.
    while (cinfo.output_scanline < height) {
        const std::uint32_t r = cinfo.output_scanline;
        std::uint8_t* const dest = pixels + std::size_t(height - 1 - r) * stride;
        if (form == RowForm::Bgr) {
            JSAMPROW row = dest;
            if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
                refuse(cinfo, JERR_INPUT_EOF);
        } else {
            if (jpeg_read_scanlines(&cinfo, sampleRow, 1) != 1)
                refuse(cinfo, JERR_INPUT_EOF);
            if (form == RowForm::Cmyk)
                cmykRowToBgr(sampleRow[0], dest, width, cinfo.saw_Adobe_marker);
            else
                firstSampleRowToBgr(sampleRow[0], dest, width, components);
        }
    }

    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

void putUint16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void putUint32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The bitmap information header: 40 bytes, little-endian, bottom-up 24-bit rows, no
// compression; size of image, resolutions and colour counts 0.
void writeHeader(std::uint8_t* h, std::uint32_t width, std::uint32_t height) {
    putUint32(h + 0, 40);     // biSize
    putUint32(h + 4, width);  // biWidth
    putUint32(h + 8, height); // biHeight, positive: bottom-up
    putUint16(h + 12, 1);     // biPlanes
    putUint16(h + 14, 24);    // biBitCount
    for (int offset = 16; offset < 40; offset += 4)
        putUint32(h + offset, 0); // biCompression (BI_RGB) .. biClrImportant
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

bool pictureSizeAllowed(std::uint32_t width, std::uint32_t height) {
    return width > 0 && height > 0 && std::uint64_t(width) * height <= maxPicturePixels;
}

namespace {
bool load(const std::string& path, PictureHolder& holder, Host& host,
          const std::function<void()>& beforeDecoding, const PictureScaleChoice* chooseEighths,
          std::uint32_t* frameWidth, std::uint32_t* frameHeight) {
    // A name holding a NUL byte would open the file named by its first part: a different one.
    std::unique_ptr<std::FILE, FileCloser> file(
        path.find('\0') == std::string::npos ? std::fopen(path.c_str(), "rb") : nullptr);
    // A folder opens for reading here; it is a file that cannot be opened all the same.
    struct stat info;
    if (file && (fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode)))
        file.reset();
    if (!file) {
        host.messageBox(cannotOpenMessage);
        return false;
    }

    if (beforeDecoding)
        beforeDecoding();

    DecodeJob job;
    job.file = file.get();
    job.chooseEighths = chooseEighths;
    const bool decoded = decode(job);
    std::unique_ptr<PictureBlock> block(job.block);
    file.reset();
    if (!decoded) {
        host.messageBox(cannotOpenMessage);
        return false;
    }
    // The header goes in last, once every row is in place; only then do holders see it.
    writeHeader(block->data(), job.width, job.height);
    holder.block = std::move(block);
    if (frameWidth && frameHeight) {
        *frameWidth = job.frameWidth;
        *frameHeight = job.frameHeight;
    }
    return true;
}
} // namespace

bool loadPicture(const std::string& path, PictureHolder& holder, Host& host,
                 const std::function<void()>& beforeDecoding) {
    return load(path, holder, host, beforeDecoding, nullptr, nullptr, nullptr);
}

bool loadPictureScaled(const std::string& path, PictureHolder& holder, Host& host,
                       const PictureScaleChoice& chooseEighths, std::uint32_t& frameWidth,
                       std::uint32_t& frameHeight) {
    return load(path, holder, host, {}, &chooseEighths, &frameWidth, &frameHeight);
}
