#include "picture/pictureloader.h"

// jpeglib.h uses FILE and size_t without including their headers.
#include <cstdio>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include <jpeglib.h>
// After jpeglib.h: the message codes need its types.
#include <jerror.h>
#include <unistd.h>

#include "file/regularfile.h"
#include "host/host.h"
#include "text/terminaltext.h"

namespace {

// The library's standard error manager with the place to jump back to on a fatal error and
// the reason the decoding stopped. The manager comes first so that the library's pointer to
// it is a pointer to the record.
struct ErrorRecord {
    jpeg_error_mgr manager;
    std::jmp_buf jumpTarget;
    char reason[JMSG_LENGTH_MAX + 80];
    FileFault fault;
    // The first warning of a picture that decoded all the same ("Premature end of JPEG
    // file": the rows past the cut are grey), kept instead of printed by the library.
    char warning[JMSG_LENGTH_MAX];
    bool cutShort;
};

// Replaces the standard output_message, which prints on stderr: the loader says what it
// means, naming the file.
void keepWarning(j_common_ptr cinfo) {
    auto* record = reinterpret_cast<ErrorRecord*>(cinfo->err);
    if (record->warning[0] == '\0')
        (*cinfo->err->format_message)(cinfo, record->warning);
    if (cinfo->err->msg_code == JWRN_JPEG_EOF)
        record->cutShort = true;
}

// Replaces the standard error_exit, which would end the process: the library's message
// becomes the reason, then control goes back to the loader.
[[noreturn]] void errorExit(j_common_ptr cinfo) {
    auto* record = reinterpret_cast<ErrorRecord*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, record->reason);
    record->fault =
        cinfo->err->msg_code == JERR_NO_SOI ? FileFault::notJpeg : FileFault::damagedPicture;
    std::longjmp(record->jumpTarget, 1);
}

// Stops the decoding with a reason of the loader's own.
template <typename... Args>
[[noreturn]] void refuseWith(j_common_ptr cinfo, FileFault fault, const char* format,
                             Args... args) {
    auto* record = reinterpret_cast<ErrorRecord*>(cinfo->err);
    record->fault = fault;
    std::snprintf(record->reason, sizeof record->reason, format, args...);
    std::longjmp(record->jumpTarget, 1);
}

// A progressive (or multi-scan) JPEG may hold any number of scans, each of which makes the
// library walk every coefficient block it covers, even when the scan holds no data at all: a
// few kilobytes of empty scans keep it busy for minutes. The library calls this monitor
// before each step of its input; at the first step of every new scan the blocks that scan
// covers are charged against a budget of a few full passes over the picture, and the scan
// count is capped too (each scan also costs a little on its own). A picture past either is
// refused before the scan is decoded, so the refusal costs less than a normal decode.
struct ScanBudget {
    jpeg_progress_mgr manager; // first, so that the library's pointer is one to the budget
    int lastScan = 0;
    std::uint64_t blocksLeft = 0;
};

// Scans any real picture needs stay well below these: the library's own progressive script
// has 10 scans, touching each component 4 to 6 times.
constexpr int maxScans = 1000;
constexpr std::uint64_t passesPerPicture = 16;
// Small pictures may take many more passes: their whole budget is still quickly spent.
constexpr std::uint64_t minimumBlockBudget = std::uint64_t(1) << 20;

void chargeScan(j_common_ptr common) {
    if (!common->is_decompressor)
        return;
    auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
    auto* budget = reinterpret_cast<ScanBudget*>(cinfo->progress);
    if (cinfo->input_scan_number == budget->lastScan)
        return;
    budget->lastScan = cinfo->input_scan_number;
    if (cinfo->input_scan_number > maxScans)
        refuseWith(common, FileFault::damagedPicture, "the picture has more than %d scans",
                   maxScans);
    std::uint64_t blocks = 0;
    for (int i = 0; i < cinfo->comps_in_scan; ++i)
        blocks += std::uint64_t(cinfo->cur_comp_info[i]->width_in_blocks) *
                  cinfo->cur_comp_info[i]->height_in_blocks;
    if (blocks > budget->blocksLeft)
        refuseWith(common, FileFault::damagedPicture,
                   "the picture's %d scans are too many for its size", cinfo->input_scan_number);
    budget->blocksLeft -= blocks;
}

std::uint64_t blockBudgetFor(const jpeg_decompress_struct& cinfo) {
    std::uint64_t blocks = 0;
    for (int c = 0; c < cinfo.num_components; ++c)
        blocks +=
            std::uint64_t(cinfo.comp_info[c].width_in_blocks) * cinfo.comp_info[c].height_in_blocks;
    return std::max(passesPerPicture * blocks, minimumBlockBudget);
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
void refuse(jpeg_decompress_struct& cinfo, int messageCode) {
    cinfo.err->msg_code = messageCode;
    (*cinfo.err->error_exit)(reinterpret_cast<j_common_ptr>(&cinfo));
}

// Runs the library from the open file to the last row. Only plain C objects live here:
// a fatal library error longjmps back into this frame.
bool decode(DecodeJob& job, ErrorRecord& error) {
    jpeg_decompress_struct cinfo{}; // zeroed, so destroying it is safe at any point
    ScanBudget budget;
    cinfo.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = errorExit;
    error.manager.output_message = keepWarning;
    error.reason[0] = '\0';
    error.warning[0] = '\0';
    error.cutShort = false;
    error.fault = FileFault::damagedPicture;
    if (setjmp(error.jumpTarget)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, job.file);
    jpeg_read_header(&cinfo, TRUE);
    // Refused before jpeg_start_decompress, which may already allocate whole-picture buffers.
    if (!pictureSizeAllowed(cinfo.image_width, cinfo.image_height))
        refuseWith(reinterpret_cast<j_common_ptr>(&cinfo), FileFault::pictureTooLarge,
                   "the picture is %u x %u pixels, more than the %llu pixels allowed",
                   unsigned(cinfo.image_width), unsigned(cinfo.image_height),
                   static_cast<unsigned long long>(maxPicturePixels));
    budget.manager.progress_monitor = chargeScan;
    budget.blocksLeft = blockBudgetFor(cinfo);
    cinfo.progress = &budget.manager;
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

Message pictureWarningMessage(std::string_view fileName, PictureWarning warning) {
    return {warning == PictureWarning::cutShort ? MessageId::pictureCutShort
                                                : MessageId::pictureDamaged,
            {std::string(fileName)}};
}

bool pictureSizeAllowed(std::uint32_t width, std::uint32_t height) {
    return width > 0 && height > 0 && std::uint64_t(width) * height <= maxPicturePixels;
}

namespace {

// Reads and decodes the picture; `chooseEighths` (when not null) picks a reduced scale once
// the frame's size is known, and the frame's size is handed back through the two pointers.
bool readPicture(const std::string& path, PictureHolder& holder, PictureFailure& failure,
                 const std::function<void()>& beforeDecoding,
                 const PictureScaleChoice* chooseEighths, std::uint32_t* frameWidth,
                 std::uint32_t* frameHeight) {
    // Only a regular file is read: a FIFO would block, a device never end.
    FileFailure fileFailure;
    const int fd = openRegularFile(path, fileFailure);
    std::unique_ptr<std::FILE, FileCloser> file(fd >= 0 ? fdopen(fd, "rb") : nullptr);
    if (fd >= 0 && !file) {
        fileFailure.kind = FileFailure::Kind::cannotOpen;
        fileFailure.error = errno;
        ::close(fd);
    }
    if (!file) {
        failure = {fileFaultOf(fileFailure), describeFileFailure(fileFailure)};
        return false;
    }

    if (beforeDecoding)
        beforeDecoding();

    DecodeJob job;
    job.file = file.get();
    job.chooseEighths = chooseEighths;
    ErrorRecord error;
    const bool decoded = decode(job, error);
    std::unique_ptr<PictureBlock> block(job.block);
    file.reset();
    if (!decoded) {
        failure = {error.fault, *error.reason ? error.reason : "the picture cannot be decoded"};
        return false;
    }
    // The header goes in last, once every row is in place; only then do holders see it.
    writeHeader(block->data(), job.width, job.height);
    holder.block = std::move(block);
    if (frameWidth && frameHeight) {
        *frameWidth = job.frameWidth;
        *frameHeight = job.frameHeight;
    }
    failure = {};
    if (error.warning[0] != '\0') {
        failure.detail = error.warning;
        failure.warning = error.cutShort ? PictureWarning::cutShort : PictureWarning::damagedData;
    }
    return true;
}

// The details go where the picture library's own messages always went; the user sees the
// message.
bool report(const std::string& path, const PictureFailure& failure, Host& host) {
    std::fprintf(stderr, "%s: %s\n", terminalSafe(path).c_str(),
                 terminalSafe(failure.detail).c_str());
    host.messageBox(cannotOpenMessage(path, failure.fault));
    return false;
}

} // namespace

// A picture that decoded with a warning is shown; the user is told what is wrong with it.
bool notePictureWarning(const std::string& path, const PictureFailure& result, Host& host) {
    if (result.warning == PictureWarning::none)
        return true;
    std::fprintf(stderr, "%s: %s\n", terminalSafe(path).c_str(),
                 terminalSafe(result.detail).c_str());
    host.messageBox(pictureWarningMessage(path, result.warning));
    return true;
}

bool readPictureFile(const std::string& path, PictureHolder& holder, PictureFailure& failure,
                     const std::function<void()>& beforeDecoding) {
    return readPicture(path, holder, failure, beforeDecoding, nullptr, nullptr, nullptr);
}

bool loadPicture(const std::string& path, PictureHolder& holder, Host& host,
                 const std::function<void()>& beforeDecoding) {
    PictureFailure failure;
    if (!readPictureFile(path, holder, failure, beforeDecoding))
        return report(path, failure, host);
    return notePictureWarning(path, failure, host);
}

bool loadPictureScaled(const std::string& path, PictureHolder& holder, Host& host,
                       const PictureScaleChoice& chooseEighths, std::uint32_t& frameWidth,
                       std::uint32_t& frameHeight) {
    PictureFailure failure;
    if (!readPicture(path, holder, failure, {}, &chooseEighths, &frameWidth, &frameHeight))
        return report(path, failure, host);
    return notePictureWarning(path, failure, host);
}
