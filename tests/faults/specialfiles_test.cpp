// Stage files and pictures are read only when they are regular files of a sane size: a FIFO
// would block the reader for ever, a device would never end, a huge file would fill memory.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "../core/jpegmaker.h"
#include "file/regularfile.h"
#include "picture/pictureloader.h"
#include "tempfolder.h"

namespace {

// Ends the process when a read that must return at once blocks instead: a failure with a
// name, not a test run that hangs.
class Deadline {
public:
    explicit Deadline(unsigned seconds) { ::alarm(seconds); }
    ~Deadline() { ::alarm(0); }
};

TEST(RegularFiles, SpecialFilesAreRefusedAtOnceWithTheirKind) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo(dir.at("fifo").c_str(), 0644), 0);
    ASSERT_EQ(::mkdir(dir.at("folder").c_str(), 0755), 0);
    struct Row {
        std::string path;
        const char* kind;
        FileFault fault;
    };
    const Row rows[] = {
        {dir.at("fifo"), "a FIFO", FileFault::notRegularFile},
        {"/dev/zero", "a character device", FileFault::notRegularFile},
        {"/dev/null", "a character device", FileFault::notRegularFile},
        {dir.at("folder"), "a folder", FileFault::isFolder},
    };
    const Deadline deadline(20);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        std::string bytes = "old";
        FileFailure failure;
        EXPECT_FALSE(readRegularFile(r.path, maxStageFileBytes, bytes, failure));
        EXPECT_EQ(failure.kind, FileFailure::Kind::notRegular);
        EXPECT_EQ(describeFileFailure(failure), std::string(r.kind) + ", not a regular file");
        EXPECT_EQ(fileFaultOf(failure), r.fault);
        EXPECT_TRUE(bytes.empty());

        PictureHolder holder;
        PictureFailure pictureFailure;
        int opened = 0;
        EXPECT_FALSE(readPictureFile(r.path, holder, pictureFailure, [&] { ++opened; }));
        EXPECT_EQ(pictureFailure.detail, std::string(r.kind) + ", not a regular file");
        EXPECT_EQ(pictureFailure.fault, r.fault);
        EXPECT_EQ(opened, 0);
    }
}

TEST(RegularFiles, LinksAreFollowedToRegularFiles) {
    TempFolder dir;
    const std::string stage = dir.write("real.stage", "version=RK&");
    ASSERT_EQ(::symlink(stage.c_str(), dir.at("link.stage").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.at("zero.stage").c_str()), 0);
    std::string bytes;
    FileFailure failure;
    EXPECT_TRUE(readRegularFile(dir.at("link.stage"), maxStageFileBytes, bytes, failure));
    EXPECT_EQ(bytes, "version=RK&");
    EXPECT_FALSE(readRegularFile(dir.at("zero.stage"), maxStageFileBytes, bytes, failure));
    EXPECT_EQ(failure.kind, FileFailure::Kind::notRegular);
}

TEST(RegularFiles, SizeLimitIsInclusiveAndSaysSo) {
    TempFolder dir;
    // Sparse files: the size is what counts, no disk space is used.
    auto sized = [&](const std::string& name, off_t size) {
        const int fd = ::open(dir.at(name).c_str(), O_WRONLY | O_CREAT, 0644);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::ftruncate(fd, size), 0);
        ::close(fd);
        return dir.at(name);
    };
    std::string bytes;
    FileFailure failure;
    EXPECT_TRUE(readRegularFile(sized("small", 1000), 1000, bytes, failure));
    EXPECT_EQ(bytes, std::string(1000, '\0'));
    EXPECT_FALSE(readRegularFile(sized("over", 1001), 1000, bytes, failure));
    EXPECT_EQ(failure.kind, FileFailure::Kind::tooLarge);
    EXPECT_EQ(fileFaultOf(failure), FileFault::fileTooLarge);
    EXPECT_EQ(describeFileFailure(failure),
              "the file is larger than the 1000 bytes allowed (1001 bytes)");
    EXPECT_TRUE(bytes.empty());

    const std::string huge = sized("huge.stage", off_t(maxStageFileBytes) + 1);
    EXPECT_FALSE(readRegularFile(huge, maxStageFileBytes, bytes, failure));
    EXPECT_EQ(describeFileFailure(failure),
              "the file is larger than the 64 MiB allowed (67108865 bytes)");
}

TEST(RegularFiles, OpenFailuresKeepTheSystemsReason) {
    TempFolder dir;
    std::string bytes;
    FileFailure failure;
    EXPECT_FALSE(readRegularFile(dir.at("missing"), 10, bytes, failure));
    EXPECT_EQ(failure.kind, FileFailure::Kind::cannotOpen);
    EXPECT_EQ(describeFileFailure(failure), "No such file or directory");
    EXPECT_EQ(fileFaultOf(failure), FileFault::notFound);
    // A NUL byte would cut the name short and open another file.
    dir.write("a", "x");
    EXPECT_FALSE(readRegularFile(dir.at("a") + std::string(1, '\0') + "b", 10, bytes, failure));
    EXPECT_EQ(failure.kind, FileFailure::Kind::cannotOpen);
}

TEST(PictureFailures, ReasonsSpeakOfPixelsAndOfWhatTheFileIs) {
    TempFolder dir;
    // An 8 x 8 picture whose frame header claims 65500 x 65500.
    JpegRecipe recipe;
    recipe.width = recipe.height = 8;
    std::string jpeg = makeJpeg(recipe);
    const std::size_t sof = jpeg.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    for (int i : {5, 7}) {
        jpeg[sof + i] = char(0xFF);
        jpeg[sof + i + 1] = char(0xDC);
    }
    PictureHolder holder;
    PictureFailure failure;
    EXPECT_FALSE(readPictureFile(dir.write("huge.jpg", jpeg), holder, failure));
    EXPECT_EQ(failure.fault, FileFault::pictureTooLarge);
    EXPECT_EQ(failure.detail,
              "the picture is 65500 x 65500 pixels, more than the 67108864 pixels allowed");
    // Text is no JPEG; a JPEG cut inside its header is a damaged one.
    EXPECT_FALSE(readPictureFile(dir.write("text.jpg", "plain text\n"), holder, failure));
    EXPECT_EQ(failure.fault, FileFault::notJpeg);
    EXPECT_FALSE(readPictureFile(dir.write("cut.jpg", jpeg.substr(0, 30)), holder, failure));
    EXPECT_EQ(failure.fault, FileFault::damagedPicture);
}

} // namespace
