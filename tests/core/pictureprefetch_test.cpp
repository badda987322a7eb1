// Decoding a stage's picture ahead: opening takes the prefetched picture only while the file
// is the one decoded, and says what it would have said without the prefetch.
#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

#include "../faults/tempfolder.h"
#include "jpegmaker.h"
#include "picture/pictureloader.h"
#include "recordinghost.h"
#include "stage/CRKeditDoc.h"
#include "stage/foregroundpicture.h"
#include "stage/stagerecord.h"

namespace {

class PicturePrefetch : public ::testing::Test {
protected:
    void SetUp() override {
        red_ = makeJpeg(flatJpeg(16, 8, {255, 0, 0}));
        blue_ = makeJpeg(flatJpeg(24, 10, {0, 0, 255}));
    }
    void TearDown() override { dropPrefetchedPicture(); }

    std::string path(const std::string& name) const { return dir_.at(name); }
    std::string stage(const std::string& picture) {
        const std::string file = path("s.stage");
        writeBytesToFile(file, "graphic1=" + picture + "&");
        return file;
    }

    // Opens the stage's picture as opening does: the record read, then its picture loaded.
    bool open(const std::string& stageFile, CRKeditDoc& doc, RecordingHost& host) {
        doc = parseStageRecord("graphic1=" + graphic1_ + "&");
        return loadForegroundPicture(doc, stageFile, host);
    }

    // The block a plain decode of `file` gives.
    static std::vector<std::uint8_t> decoded(const std::string& file) {
        PictureHolder holder;
        RecordingHost host;
        EXPECT_TRUE(loadPicture(file, holder, host));
        if (!holder.block)
            return {};
        return {holder.block->data(), holder.block->data() + holder.block->size()};
    }
    static std::vector<std::uint8_t> bytesOf(const PictureHolder& holder) {
        if (!holder.block)
            return {};
        return {holder.block->data(), holder.block->data() + holder.block->size()};
    }

    TempFolder dir_;
    std::string red_, blue_;
    std::string graphic1_ = "p.jpg";
};

TEST_F(PicturePrefetch, OpeningTakesThePictureDecodedAhead) {
    writeBytesToFile(path("p.jpg"), red_);
    const std::string stageFile = stage("p.jpg");
    prefetchForegroundPicture(stageFile);
    finishPrefetch();
    CRKeditDoc doc;
    RecordingHost host;
    ASSERT_TRUE(open(stageFile, doc, host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(doc.picturePending);
    EXPECT_EQ(bytesOf(doc.picture), decoded(path("p.jpg")));
    EXPECT_FALSE(dropPrefetchedPicture()) << "the picture was taken";

    // Nobody opens the stage: the picture decoded ahead is dropped.
    prefetchForegroundPicture(stageFile);
    EXPECT_TRUE(dropPrefetchedPicture());
    EXPECT_FALSE(dropPrefetchedPicture());
}

// Rewritten in place (the same file, a new size and time) or replaced by another file after
// it was decoded ahead: opening decodes the picture as it is now.
TEST_F(PicturePrefetch, APictureChangedSinceItWasDecodedIsDecodedAgain) {
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace ? "replaced" : "rewritten");
        writeBytesToFile(path("p.jpg"), red_);
        const std::string stageFile = stage("p.jpg");
        prefetchForegroundPicture(stageFile);
        finishPrefetch();
        if (replace) {
            writeBytesToFile(path("new.jpg"), blue_);
            ASSERT_EQ(std::rename(path("new.jpg").c_str(), path("p.jpg").c_str()), 0);
        } else {
            writeBytesToFile(path("p.jpg"), blue_);
        }
        CRKeditDoc doc;
        RecordingHost host;
        ASSERT_TRUE(open(stageFile, doc, host));
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(bytesOf(doc.picture), decoded(path("p.jpg")));
        writeBytesToFile(path("red.jpg"), red_);
        EXPECT_NE(bytesOf(doc.picture), decoded(path("red.jpg")));
    }
}

// The stage names another picture by the time it is opened: that one is decoded, and the one
// decoded ahead is not kept.
TEST_F(PicturePrefetch, AnotherPictureIsDecodedAndThePrefetchedOneDropped) {
    writeBytesToFile(path("p.jpg"), red_);
    writeBytesToFile(path("q.jpg"), blue_);
    const std::string stageFile = stage("p.jpg");
    prefetchForegroundPicture(stageFile);
    finishPrefetch();
    graphic1_ = "q.jpg";
    CRKeditDoc doc;
    RecordingHost host;
    ASSERT_TRUE(open(stageFile, doc, host));
    EXPECT_EQ(bytesOf(doc.picture), decoded(path("q.jpg")));
    EXPECT_FALSE(dropPrefetchedPicture());
}

// A picture that cannot be opened, or that decodes with a warning, says exactly what it says
// without a prefetch, once.
TEST_F(PicturePrefetch, MessagesAreThoseOfOpeningWithoutIt) {
    const std::string cut = red_.substr(0, red_.size() - 2); // no end marker
    for (const bool missing : {true, false}) {
        SCOPED_TRACE(missing ? "missing" : "cut short");
        std::remove(path("p.jpg").c_str());
        if (!missing)
            writeBytesToFile(path("p.jpg"), cut);
        const std::string stageFile = stage("p.jpg");
        CRKeditDoc plain;
        RecordingHost without;
        const bool openedWithout = open(stageFile, plain, without);
        EXPECT_EQ(openedWithout, !missing);
        ASSERT_EQ(without.messages.size(), 1u);

        prefetchForegroundPicture(stageFile);
        finishPrefetch();
        CRKeditDoc doc;
        RecordingHost with;
        EXPECT_EQ(open(stageFile, doc, with), openedWithout);
        EXPECT_EQ(with.messages, without.messages);
        EXPECT_EQ(bytesOf(doc.picture), bytesOf(plain.picture));
    }
}

} // namespace
