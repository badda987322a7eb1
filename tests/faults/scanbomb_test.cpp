// Pictures built to make the decoder work far beyond their size: refused, quickly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "../core/jpegmaker.h"
#include "../core/recordinghost.h"
#include "picture/pictureloader.h"
#include "tempfolder.h"

namespace {

// Processor time of this thread, in seconds: unlike the wall clock it does not count the
// time other processes of a busy machine take.
double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Processor seconds one readPictureFile of `path` takes; `ok` and `reason` tell how it ended (the
// reason is the detail line, checked to be a damaged picture's).
double timedRead(const std::string& path, bool& ok, std::string& reason) {
    PictureHolder holder;
    PictureFailure failure;
    const double start = threadSeconds();
    ok = readPictureFile(path, holder, failure);
    const double seconds = threadSeconds() - start;
    reason = failure.detail;
    if (!ok) {
        EXPECT_EQ(failure.fault, FileFault::damagedPicture) << reason;
    }
    return seconds;
}

// A grey picture with detail everywhere, in the library's usual progressive form.
std::string normalProgressive(int width, int height) {
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.input = JCS_GRAYSCALE;
    recipe.components = 1;
    recipe.quality = 90;
    recipe.progressive = true;
    recipe.sample = [](int x, int y, int) {
        return std::uint8_t((x * 37 + y * 91 + (x * y) % 13 * 17) & 0xFF);
    };
    return makeJpeg(recipe);
}

TEST(ScanBomb, RefusedInLessThanTwiceANormalDecodeOfItsSize) {
    TempFolder dir;
    const int side = 2048;
    const std::string normal = dir.write("normal.jpg", normalProgressive(side, side));
    // Thousands of empty scans (the bytes are few: about 40 a scan).
    const std::string bomb = dir.write("bomb.jpg", makeScanBomb(side, side, 3000));
    // Fewer scans, each one over the whole picture: a cap on the scan count alone misses it.
    const std::string wide = dir.write("wide.jpg", makeScanBomb(side, side, 500));

    // The fastest of three runs each.
    double normalTime = 1e9, bombTime = 1e9, wideTime = 1e9;
    for (int run = 0; run < 3; ++run) {
        bool ok;
        std::string reason;
        normalTime = std::min(normalTime, timedRead(normal, ok, reason));
        ASSERT_TRUE(ok) << reason;
        bombTime = std::min(bombTime, timedRead(bomb, ok, reason));
        ASSERT_FALSE(ok);
        EXPECT_NE(reason.find("scans"), std::string::npos) << reason;
        wideTime = std::min(wideTime, timedRead(wide, ok, reason));
        ASSERT_FALSE(ok);
        EXPECT_NE(reason.find("scans"), std::string::npos) << reason;
    }
    std::printf("%dx%d: normal progressive decode %.1f ms; 3000 empty scans refused after "
                "%.1f ms, 500 after %.1f ms (processor time)\n",
                side, side, normalTime * 1000, bombTime * 1000, wideTime * 1000);
    EXPECT_LT(bombTime, 2 * normalTime) << "normal " << normalTime << " s";
    EXPECT_LT(wideTime, 2 * normalTime) << "normal " << normalTime << " s";
}

TEST(ScanBomb, SmallPicturesMayHaveManyScansButNotThousands) {
    TempFolder dir;
    bool ok;
    std::string reason;
    // A handful of extra scans over a small picture is harmless and still decodes.
    timedRead(dir.write("few.jpg", makeScanBomb(64, 64, 40)), ok, reason);
    EXPECT_TRUE(ok) << reason;
    timedRead(dir.write("many.jpg", makeScanBomb(64, 64, 5000)), ok, reason);
    EXPECT_FALSE(ok);
    EXPECT_NE(reason.find("scans"), std::string::npos) << reason;
}

TEST(ScanBomb, LoadPictureShowsThePictureMessage) {
    TempFolder dir;
    const std::string bomb = dir.write("bomb.jpg", makeScanBomb(2048, 2048, 3000));
    RecordingHost host;
    PictureHolder holder;
    EXPECT_FALSE(loadPicture(bomb, holder, host));
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"ファイルをオープンできません。\n" + bomb +
                                       ": JPEG ファイルが壊れているか、読み込めない形式です。"});
    EXPECT_TRUE(holder.empty());
}

} // namespace
