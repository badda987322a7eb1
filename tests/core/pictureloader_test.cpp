#include <gtest/gtest.h>

#include <cstdio>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "jpegmaker.h"
#include "picture/pictureloader.h"
#include "recordinghost.h"

namespace {

const std::string cannotOpen = "ファイルをオープンできません。";

// One message: the first line as ever, the second naming `path` and the reason for `fault`.
std::vector<std::string> openMessage(const std::string& path, FileFault fault) {
    return {messageText(cannotOpenMessage(path, fault))};
}

// The library's own top-down rows for `jpeg`, in its default output colour space (RGB for
// colour pictures, one sample for grey), decoded independently of the loader.
struct Decoded {
    int width = 0, height = 0, components = 0;
    std::vector<std::uint8_t> samples;
    const std::uint8_t* pixel(int x, int y) const {
        return &samples[(std::size_t(y) * width + x) * components];
    }
};

// `eighths` other than 8 asks the library for its DCT-scaled output at that many eighths.
Decoded referenceDecode(const std::string& jpeg, unsigned eighths = 8) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    if (eighths != 8) {
        cinfo.scale_num = eighths;
        cinfo.scale_denom = 8;
    }
    jpeg_start_decompress(&cinfo);
    Decoded d{int(cinfo.output_width), int(cinfo.output_height), cinfo.output_components, {}};
    d.samples.resize(std::size_t(d.width) * d.height * d.components);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &d.samples[std::size_t(cinfo.output_scanline) * d.width * d.components];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return d;
}

std::uint32_t u32(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t u16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | p[1] << 8);
}

// Blue, green, red of picture pixel (x, y) counted from the top, read from the block.
const std::uint8_t* bgrAt(const PictureBlock& b, int x, int y) {
    const std::size_t stride = PictureBlock::strideFor(b.width());
    return b.data() + 40 + std::size_t(b.height() - 1 - y) * stride + std::size_t(x) * 3;
}

// Checks everything about a decoded block's layout except the pixel values: size, header,
// zero row padding and the zero tail after the last row.
void expectLayout(const PictureBlock& b, int width, int height) {
    ASSERT_EQ(b.size(), std::size_t(4) * width * height + 40);
    const std::uint8_t* h = b.data();
    EXPECT_EQ(u32(h + 0), 40u);
    EXPECT_EQ(std::int32_t(u32(h + 4)), width);
    EXPECT_EQ(std::int32_t(u32(h + 8)), height);
    EXPECT_EQ(u16(h + 12), 1);
    EXPECT_EQ(u16(h + 14), 24);
    for (int offset = 16; offset < 40; offset += 4)
        EXPECT_EQ(u32(h + offset), 0u) << "header offset " << offset;
    const std::size_t stride = PictureBlock::strideFor(width);
    EXPECT_EQ(stride, (std::size_t(3) * width + 3) / 4 * 4);
    for (int row = 0; row < height; ++row)
        for (std::size_t i = std::size_t(3) * width; i < stride; ++i)
            EXPECT_EQ(h[40 + row * stride + i], 0) << "padding of stored row " << row;
    for (std::size_t i = 40 + stride * height; i < b.size(); ++i)
        ASSERT_EQ(h[i], 0) << "tail byte " << i;
}

class PictureLoader : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/rkpicture_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    std::string file(const std::string& name, const std::string& bytes) {
        const std::string path = dir_ + "/" + name;
        writeBytesToFile(path, bytes);
        return path;
    }

    // Loads `bytes` from a file; the block on success, null (with the message checked) on
    // failure.
    std::shared_ptr<const PictureBlock> load(const std::string& bytes) {
        PictureHolder holder;
        RecordingHost host;
        const bool ok = loadPicture(file("p.jpg", bytes), holder, host);
        EXPECT_EQ(ok, !holder.empty());
        EXPECT_EQ(host.messages.size(), ok ? 0u : 1u);
        return holder.block;
    }

    std::string dir_;
};

// A picture of varied colours, so that a misplaced or swapped byte shows.
JpegRecipe noisy(int width, int height) {
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.sample = [](int x, int y, int c) {
        return std::uint8_t((x * 37 + y * 91 + c * 71 + (x * y) % 13 * 17) & 0xFF);
    };
    return recipe;
}

TEST_F(PictureLoader, BlockMatchesTheLibraryRowsInEveryShape) {
    struct Row {
        const char* what;
        JpegRecipe recipe;
    };
    std::vector<Row> rows;
    for (int w : {1, 2, 3, 4, 5, 6, 7, 8, 9, 17})
        rows.push_back({"width", noisy(w, 3)});
    rows.push_back({"tall", noisy(3, 19)});
    rows.push_back({"block of several MiB", noisy(1001, 601)});
    JpegRecipe subsampled = noisy(33, 21);
    subsampled.fullChroma = false; // 4:2:0 with fancy upsampling at odd edges
    subsampled.quality = 75;
    rows.push_back({"4:2:0", subsampled});
    JpegRecipe progressive = noisy(23, 11);
    progressive.progressive = true;
    progressive.fullChroma = false;
    rows.push_back({"progressive", progressive});
    JpegRecipe rgb = noisy(10, 5);
    rgb.stored = JCS_RGB;
    rows.push_back({"stored as RGB", rgb});

    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.what) + " " + std::to_string(r.recipe.width) + "x" +
                     std::to_string(r.recipe.height));
        const std::string jpeg = makeJpeg(r.recipe);
        auto block = load(jpeg);
        ASSERT_TRUE(block);
        expectLayout(*block, r.recipe.width, r.recipe.height);
        const Decoded ref = referenceDecode(jpeg);
        ASSERT_EQ(ref.components, 3);
        for (int y = 0; y < ref.height; ++y)
            for (int x = 0; x < ref.width; ++x) {
                const std::uint8_t* rgb = ref.pixel(x, y);
                const std::uint8_t* bgr = bgrAt(*block, x, y);
                ASSERT_TRUE(bgr[0] == rgb[2] && bgr[1] == rgb[1] && bgr[2] == rgb[0])
                    << "pixel " << x << "," << y;
            }
    }
}

// The reduced decode for thumbnails: the chooser sees the picture's own size, the block holds
// exactly the library's scaled rows (sizes rounded up), and the picture's own size comes back.
TEST_F(PictureLoader, ScaledDecodeIsTheLibrarysScaledOutput) {
    JpegRecipe subsampled = noisy(61, 23);
    subsampled.fullChroma = false;
    const std::vector<JpegRecipe> recipes = {noisy(37, 19), subsampled, noisy(5, 44)};
    for (const JpegRecipe& recipe : recipes) {
        const std::string jpeg = makeJpeg(recipe);
        const std::string path = file("s.jpg", jpeg);
        for (unsigned asked : {0u, 1u, 2u, 3u, 5u, 7u, 8u, 12u}) {
            const unsigned eighths = std::clamp(asked, 1u, 8u); // outside 1..8: held to it
            SCOPED_TRACE(std::to_string(recipe.width) + "x" + std::to_string(recipe.height) +
                         " at " + std::to_string(asked) + "/8");
            PictureHolder holder;
            RecordingHost host;
            std::uint32_t seenWidth = 0, seenHeight = 0, frameWidth = 0, frameHeight = 0;
            const PictureScaleChoice choose = [&](std::uint32_t w, std::uint32_t h) {
                seenWidth = w;
                seenHeight = h;
                return asked;
            };
            ASSERT_TRUE(loadPictureScaled(path, holder, host, choose, frameWidth, frameHeight));
            EXPECT_TRUE(host.messages.empty());
            EXPECT_EQ(seenWidth, std::uint32_t(recipe.width));
            EXPECT_EQ(seenHeight, std::uint32_t(recipe.height));
            EXPECT_EQ(frameWidth, std::uint32_t(recipe.width));
            EXPECT_EQ(frameHeight, std::uint32_t(recipe.height));
            const int w = int((recipe.width * eighths + 7) / 8);
            const int h = int((recipe.height * eighths + 7) / 8);
            expectLayout(*holder.block, w, h);
            const Decoded ref = referenceDecode(jpeg, eighths);
            ASSERT_EQ(ref.width, w);
            ASSERT_EQ(ref.height, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const std::uint8_t* rgb = ref.pixel(x, y);
                    const std::uint8_t* bgr = bgrAt(*holder.block, x, y);
                    ASSERT_TRUE(bgr[0] == rgb[2] && bgr[1] == rgb[1] && bgr[2] == rgb[0])
                        << "pixel " << x << "," << y;
                }
        }
    }
}

TEST_F(PictureLoader, ScaledDecodeFailuresKeepThePreviousPicture) {
    const std::string jpeg = makeJpeg(noisy(16, 16));
    PictureHolder holder;
    RecordingHost host;
    std::uint32_t w = 7, h = 9;
    const PictureScaleChoice half = [](std::uint32_t, std::uint32_t) { return 4u; };
    ASSERT_TRUE(loadPictureScaled(file("ok.jpg", jpeg), holder, host, half, w, h));
    const auto before = holder.block;
    for (const std::string& bad :
         {dir_ + "/absent.jpg", file("cut.jpg", jpeg.substr(0, 20)), file("text.jpg", "text")}) {
        SCOPED_TRACE(bad);
        host.messages.clear();
        EXPECT_FALSE(loadPictureScaled(bad, holder, host, half, w, h));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_TRUE(host.messages[0].starts_with(cannotOpen + "\n" + bad + ": "))
            << host.messages[0];
        EXPECT_EQ(holder.block, before);
        EXPECT_EQ(w, 16u); // the sizes of the last picture loaded stay
        EXPECT_EQ(h, 16u);
    }
}

TEST_F(PictureLoader, OnePixelRedIsBlueGreenRedThenPadding) {
    JpegRecipe red = flatJpeg(1, 1, {255, 0, 0});
    red.stored = JCS_RGB; // no colour transform, so quality 100 keeps the value exact
    auto block = load(makeJpeg(red));
    ASSERT_TRUE(block);
    ASSERT_EQ(block->size(), 44u);
    const std::uint8_t* p = block->data() + 40;
    EXPECT_EQ(std::vector<int>(p, p + 4), (std::vector<int>{0x00, 0x00, 0xFF, 0x00}));
}

TEST_F(PictureLoader, FirstDeliveredRowIsStoredLast) {
    // Top half red, bottom half blue, stored as RGB at quality 100: near exact colours.
    JpegRecipe recipe;
    recipe.width = 5;
    recipe.height = 16;
    recipe.stored = JCS_RGB;
    recipe.sample = [](int, int y, int c) {
        return std::uint8_t((y < 8 ? c == 0 : c == 2) ? 255 : 0);
    };
    auto block = load(makeJpeg(recipe));
    ASSERT_TRUE(block);
    const std::size_t stride = 16;
    const std::uint8_t* lastStored = block->data() + 40 + 15 * stride; // picture row 0
    const std::uint8_t* firstStored = block->data() + 40;              // picture row 15
    EXPECT_EQ(std::vector<int>(lastStored, lastStored + 3), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(std::vector<int>(firstStored, firstStored + 3), (std::vector<int>{255, 0, 0}));
}

TEST_F(PictureLoader, OtherComponentCountsBecomeBlueGreenRed) {
    struct Row {
        const char* what;
        JpegRecipe recipe;
        std::vector<int> bgr; // expected, within 2
    };
    JpegRecipe grey = flatJpeg(6, 3, {200});
    JpegRecipe greyVaried = noisy(6, 3);
    JpegRecipe adobeCmyk = flatJpeg(5, 2, {255, 0, 127, 255}); // inverted: red 255, green 0
    JpegRecipe plainCmyk = flatJpeg(5, 2, {0, 255, 128, 0});   // no ink of cyan and black
    plainCmyk.adobeMarker = false;
    JpegRecipe ycck = flatJpeg(7, 3, {255, 0, 127, 255});
    ycck.stored = JCS_YCCK;
    JpegRecipe twoComponents = flatJpeg(3, 3, {90, 10});
    twoComponents.input = JCS_UNKNOWN;
    const Row rows[] = {
        {"grey", grey, {200, 200, 200}},
        {"Adobe CMYK", adobeCmyk, {127, 0, 255}},
        {"plain CMYK", plainCmyk, {127, 0, 255}},
        {"YCCK", ycck, {127, 0, 255}},
        {"two components", twoComponents, {90, 90, 90}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        auto block = load(makeJpeg(r.recipe));
        ASSERT_TRUE(block);
        expectLayout(*block, r.recipe.width, r.recipe.height);
        for (int y = 0; y < r.recipe.height; ++y)
            for (int x = 0; x < r.recipe.width; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_NEAR(bgrAt(*block, x, y)[c], r.bgr[std::size_t(c)], 2)
                        << x << "," << y << " channel " << c;
    }

    // Grey of a varied picture is the library's grey value in all three channels.
    greyVaried.input = JCS_GRAYSCALE;
    greyVaried.components = 1;
    const std::string jpeg = makeJpeg(greyVaried);
    auto block = load(jpeg);
    ASSERT_TRUE(block);
    const Decoded ref = referenceDecode(jpeg);
    ASSERT_EQ(ref.components, 1);
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(bgrAt(*block, x, y)[c], ref.pixel(x, y)[0]);
}

// A JPEG whose frame header claims width x height (the data still is that of an 8 x 8 picture).
std::string withFrameSize(int width, int height) {
    std::string jpeg = makeJpeg(noisy(8, 8));
    const std::size_t sof = jpeg.find("\xFF\xC0");
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width);
    return jpeg;
}

TEST_F(PictureLoader, FailuresShowTheMessageOnceAndKeepThePreviousPicture) {
    const std::string good = makeJpeg(noisy(4, 4));
    const std::string baseline = makeJpeg(noisy(16, 16));
    // Cut inside the scan data and followed by a second scan header: every row decodes (the
    // missing data is a warning) but the library then fails at the stray scan, after the rows.
    const std::size_t sos = baseline.find("\xFF\xDA");
    const std::string strayScan = baseline.substr(0, sos + (baseline.size() - sos) / 2) +
                                  baseline.substr(sos, baseline.size() - sos);
    mkdir((dir_ + "/folder.jpg").c_str(), 0755);
    struct Row {
        const char* what;
        std::string path;
        bool opened;     // whether the step before decoding ran
        FileFault fault; // the reason the message gives
    };
    const Row rows[] = {
        {"missing file", dir_ + "/missing.jpg", false, FileFault::notFound},
        {"empty path", "", false, FileFault::notFound},
        {"folder", dir_ + "/folder.jpg", false, FileFault::isFolder},
        // The part before the NUL names a good picture; the name as a whole names none.
        {"NUL in the name", dir_ + "/good.jpg" + std::string(1, '\0') + "x", false,
         FileFault::notFound},
        {"text named .jpg", file("text.jpg", "this is not a picture\n"), true, FileFault::notJpeg},
        {"empty file", file("empty.jpg", ""), true, FileFault::damagedPicture},
        {"header only", file("header.jpg", good.substr(0, 20)), true, FileFault::damagedPicture},
        {"absurd size", file("huge.jpg", withFrameSize(65500, 65500)), true,
         FileFault::pictureTooLarge},
        {"just over the limit", file("over.jpg", withFrameSize(8193, 8192)), true,
         FileFault::pictureTooLarge},
        {"error after the rows", file("stray.jpg", strayScan), true, FileFault::damagedPicture},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        PictureHolder holder;
        RecordingHost host;
        ASSERT_TRUE(loadPicture(file("good.jpg", good), holder, host));
        const PictureHolder before = holder;
        int stepsRun = 0;
        EXPECT_FALSE(loadPicture(r.path, holder, host, [&] { ++stepsRun; }));
        EXPECT_EQ(host.messages, openMessage(r.path, r.fault));
        EXPECT_EQ(stepsRun, r.opened ? 1 : 0);
        EXPECT_TRUE(holder == before);
        EXPECT_EQ(holder.block->width(), 4);
    }
}

// A picture may have up to 1000 scans; one more is refused before it is decoded, however
// little each scan costs (an 8 x 8 picture is one block a scan, far inside the work budget).
TEST_F(PictureLoader, AThousandScansDecodeAndOneMoreIsRefused) {
    PictureHolder holder;
    PictureFailure failure;
    EXPECT_TRUE(readPictureFile(file("most.jpg", makeScanBomb(8, 8, 1000)), holder, failure))
        << failure.detail;
    EXPECT_FALSE(readPictureFile(file("over.jpg", makeScanBomb(8, 8, 1001)), holder, failure));
    EXPECT_EQ(failure.fault, FileFault::damagedPicture);
    EXPECT_NE(failure.detail.find("more than 1000 scans"), std::string::npos) << failure.detail;
}

// Scans are charged by the blocks they cover: sixteen passes over the whole picture decode,
// a seventeenth is refused, so a few costly scans cannot take longer than a normal decode.
TEST_F(PictureLoader, SixteenPassesOverThePictureDecodeAndOneMoreIsRefused) {
    PictureHolder holder;
    PictureFailure failure;
    EXPECT_TRUE(readPictureFile(file("most.jpg", makeScanBomb(4096, 2048, 16)), holder, failure))
        << failure.detail;
    EXPECT_FALSE(readPictureFile(file("over.jpg", makeScanBomb(4096, 2048, 17)), holder, failure));
    EXPECT_EQ(failure.fault, FileFault::damagedPicture);
    EXPECT_NE(failure.detail.find("too many for its size"), std::string::npos) << failure.detail;
}

TEST_F(PictureLoader, TruncatedPictureLoadsAndSaysSoNamingTheFile) {
    const std::string jpeg = makeJpeg(noisy(40, 30));
    for (std::size_t keep : {jpeg.size() - 2, jpeg.size() * 2 / 3, jpeg.find("\xFF\xDA") + 20}) {
        SCOPED_TRACE(keep);
        const std::string path = file("cut.jpg", jpeg.substr(0, keep));
        PictureHolder holder;
        RecordingHost host;
        ASSERT_TRUE(loadPicture(path, holder, host));
        ASSERT_TRUE(holder.block);
        expectLayout(*holder.block, 40, 30);
        EXPECT_EQ(host.messages, std::vector<std::string>{messageText(
                                     pictureWarningMessage(path, PictureWarning::cutShort))});
        PictureFailure result;
        ASSERT_TRUE(readPictureFile(path, holder, result));
        EXPECT_EQ(result.warning, PictureWarning::cutShort);
        EXPECT_EQ(result.detail, "Premature end of JPEG file");
    }
    // A whole picture says nothing.
    RecordingHost quiet;
    PictureHolder holder;
    ASSERT_TRUE(loadPicture(file("whole.jpg", jpeg), holder, quiet));
    EXPECT_TRUE(quiet.messages.empty());
}

TEST_F(PictureLoader, FilesAreClosedOnEveryPath) {
    const std::string good = file("good.jpg", makeJpeg(noisy(4, 4)));
    const std::string bad = file("bad.jpg", "not a picture");
    const std::string huge = file("huge.jpg", withFrameSize(65500, 65500));
    const int before = dup(0);
    close(before);
    RecordingHost host;
    PictureHolder holder;
    for (int i = 0; i < 3; ++i) {
        loadPicture(good, holder, host);
        loadPicture(bad, holder, host);
        loadPicture(huge, holder, host);
    }
    const int after = dup(0);
    close(after);
    EXPECT_EQ(after, before); // the lowest free descriptor did not move: nothing left open
}

TEST_F(PictureLoader, HoldersShareABlockUntilTheLastLetsGo) {
    RecordingHost host;
    PictureHolder document, panel;
    ASSERT_TRUE(loadPicture(file("a.jpg", makeJpeg(noisy(4, 4))), document, host));
    panel = document; // the view hands the document's picture to the panel
    std::weak_ptr<const PictureBlock> first = document.block;
    EXPECT_EQ(panel.pictureHeader(), document.pictureHeader());
    EXPECT_EQ(panel.pictureBits(), document.pictureHeader() + 40);

    ASSERT_TRUE(loadPicture(file("b.jpg", makeJpeg(noisy(5, 2))), document, host));
    EXPECT_FALSE(first.expired()); // the panel still shows it
    EXPECT_EQ(panel.block->width(), 4);
    EXPECT_EQ(document.block->width(), 5);
    panel = document;
    EXPECT_TRUE(first.expired());
}

TEST(PictureSize, LimitIsInclusiveAndOverflowFree) {
    EXPECT_TRUE(pictureSizeAllowed(1, 1));
    EXPECT_TRUE(pictureSizeAllowed(8192, 8192));
    EXPECT_TRUE(pictureSizeAllowed(65500, 1024));
    EXPECT_FALSE(pictureSizeAllowed(8193, 8192));
    EXPECT_FALSE(pictureSizeAllowed(65500, 65500));
    EXPECT_FALSE(pictureSizeAllowed(0xFFFFFFFFu, 0xFFFFFFFFu)); // 1 in 32-bit arithmetic
    EXPECT_FALSE(pictureSizeAllowed(0, 5));
    EXPECT_FALSE(pictureSizeAllowed(5, 0));
}

} // namespace
