#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "html/htmlpage.h"
#include "ruffle/encodingwarning.h"
#include "ruffle/rufflefolder.h"
#include "stage/CRKeditDoc.h"
#include "stage/stagefields.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> crlfLines(const std::string& page) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < page.size()) {
        const std::size_t end = page.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF at byte " << at;
        if (end == std::string::npos)
            break;
        lines.push_back(page.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

// The Ruffle page is the plain page with exactly two lines added right before the OBJECT
// line: checked on pages that differ in every export value, a value with a line break in it
// included (the title, which also stands in the OBJECT line).
TEST(RufflePage, AddsTwoLinesBeforeTheObjectLineOnly) {
    CRKeditDoc plain;
    CRKeditDoc full;
    full.title = "a\nb";
    full.configFileName = "s1.txt";
    full.quality = "low";
    full.annotationPosition = "bottom";
    full.graphicWidth = "640";
    full.graphicHeight = "480";
    for (const CRKeditDoc* doc : {&plain, &full}) {
        const std::vector<std::string> without = crlfLines(composeHtmlPage(*doc));
        const std::vector<std::string> with = crlfLines(composeHtmlPage(*doc, true));
        ASSERT_EQ(with.size(), without.size() + 2);
        std::size_t object = 0;
        while (object < without.size() && without[object].rfind("<OBJECT ", 0) != 0)
            ++object;
        ASSERT_LT(object, without.size());
        EXPECT_EQ(with[object],
                  "<script>window.RufflePlayer = window.RufflePlayer || {}; "
                  "window.RufflePlayer.config = {autoplay: \"on\", splashScreen: false, "
                  "unmuteOverlay: \"hidden\"};</script>");
        EXPECT_EQ(with[object + 1], "<script src=\"ruffle/ruffle.js\"></script>");
        for (std::size_t i = 0; i < without.size(); ++i)
            EXPECT_EQ(with[i < object ? i : i + 2], without[i]) << "line " << i;
    }
    EXPECT_EQ(composeHtmlPage(plain, false), composeHtmlPage(plain));
}

TEST(RuffleEncodingWarning, Swf5OrLowerWithNonAsciiStageText) {
    CRKeditDoc ascii;
    CRKeditDoc japanese;
    japanese.title = "\x83\x58\x83\x65\x81\x5b\x83\x57"; // ステージ in CP932
    CRKeditDoc script;
    script.command = "say \x82\xa0";
    CRKeditDoc pictureFolder; // only the leaf name reaches the record
    pictureFolder.graphic1 = "/home/\x95\x5c/pic.JPG";
    CRKeditDoc pictureLeaf;
    pictureLeaf.graphic2 = "/home/x/\x95\x5c.JPG";

    struct Row {
        std::string_view swf;
        const CRKeditDoc* doc;
        bool warns;
    };
    const Row rows[] = {
        {std::string_view("FWS\x05", 4), &japanese, true},
        {std::string_view("CWS\x04", 4), &script, true},
        {std::string_view("ZWS\x01", 4), &pictureLeaf, true},
        {std::string_view("FWS\x06", 4), &japanese, false}, // SWF 6 can pick the code page
        {std::string_view("FWS\x0a", 4), &japanese, false},
        {std::string_view("FWS\x05", 4), &ascii, false},
        {std::string_view("FWS\x05", 4), &pictureFolder, false},
        {std::string_view("FWS", 3), &japanese, false},            // too short to tell
        {std::string_view("GIF\x05", 4), &japanese, false},        // not a movie
        {std::string_view("FWS\x00\x10\x00", 6), &japanese, true}, // version 0
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.swf.substr(0, 3)) + " version " +
                     std::to_string(row.swf.size() > 3 ? int(row.swf[3]) : -1));
        EXPECT_EQ(rufflesTextWarns(row.swf, *row.doc), row.warns);
    }
    // Every text the record holds counts; the export values it does not hold do not.
    for (const StageField& f : documentFields()) {
        if (f.text == nullptr || f.kind == FieldKind::leafName)
            continue;
        CRKeditDoc doc;
        doc.*f.text = "\x82\xa0";
        EXPECT_EQ(stageHasNonAsciiText(doc), f.inRecord) << f.key;
    }
}

class RuffleFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() /
            ("rkedit-ruffle-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "prefix" / "bin");
        source_ = root_ / "prefix" / "share" / "rkedit" / "ruffle";
        makeRuffle(source_, "0.6.0");
        write(source_ / "ruffle.js.map", "map");
        fs::create_directories(root_ / "site");
    }
    void TearDown() override { fs::remove_all(root_); }

    static void write(const fs::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void makeRuffle(const fs::path& folder, const std::string& version) {
        fs::create_directories(folder);
        write(folder / "package.json", "{\"name\":\"@ruffle-rs/ruffle\",\"version\":\"" + version +
                                           "\",\"main\":\"ruffle.js\"}");
        write(folder / "ruffle.js", "// ruffle " + version);
        write(folder / "LICENSE_MIT", "MIT");
    }
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root_ / "site"))
            if (entry.path().filename() != "ruffle" && entry.path().filename() != "index.html")
                names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path root_, source_;
};

TEST_F(RuffleFolderTest, FoundBesideTheProgramOrThroughTheEnvironment) {
    std::string error;
    auto found = RuffleFolder::find((root_ / "prefix" / "bin").string(), nullptr, error);
    ASSERT_TRUE(found) << error;
    EXPECT_EQ(fs::path(found->path()), source_.lexically_normal());
    EXPECT_EQ(RuffleFolder::versionIn(found->path()), "0.6.0");

    found = RuffleFolder::find((root_ / "prefix" / "bin").string(), "", error);
    EXPECT_TRUE(found) << "an empty variable counts as unset";

    const fs::path other = root_ / "elsewhere";
    makeRuffle(other, "0.5.0");
    found = RuffleFolder::find("/nonexistent/bin", other.c_str(), error);
    ASSERT_TRUE(found) << error;
    EXPECT_EQ(found->path(), other.string());

    found = RuffleFolder::find((root_ / "site").string(), nullptr, error);
    EXPECT_FALSE(found);
    EXPECT_NE(error.find((root_ / "share" / "rkedit" / "ruffle").string()), std::string::npos)
        << error;
    found = RuffleFolder::find((root_ / "prefix" / "bin").string(), "/nonexistent/ruffle", error);
    EXPECT_FALSE(found) << "the variable wins even when it names nothing";
    EXPECT_NE(error.find("/nonexistent/ruffle"), std::string::npos) << error;
    EXPECT_NE(error.find("RKEDIT_RUFFLE_DIR"), std::string::npos) << error;

    // A package.json that is not Ruffle's, or has no version, does not count.
    write(other / "package.json", "{\"name\":\"left-pad\",\"version\":\"1.0.0\"}");
    EXPECT_EQ(RuffleFolder::versionIn(other.string()), "");
    write(other / "package.json", "{\"name\":\"@ruffle-rs/ruffle\"}");
    EXPECT_EQ(RuffleFolder::versionIn(other.string()), "");
    write(other / "package.json", "{\"name\": \"@ruffle-rs/ruffle\", \"version\" : \"1.2.3\"}");
    EXPECT_EQ(RuffleFolder::versionIn(other.string()), "1.2.3");
}

TEST_F(RuffleFolderTest, CopiedOnceThenLeftAlone) {
    const RuffleFolder ruffle(source_.string());
    std::string message;
    ASSERT_EQ(ruffle.copyInto((root_ / "site").string(), false, message),
              RuffleFolder::Outcome::Copied)
        << message;
    const fs::path copy = root_ / "site" / "ruffle";
    EXPECT_EQ(read(copy / "ruffle.js"), "// ruffle 0.6.0");
    EXPECT_EQ(read(copy / "LICENSE_MIT"), "MIT");
    EXPECT_FALSE(fs::exists(copy / "ruffle.js.map")) << "source maps stay out";
    EXPECT_TRUE(leftovers().empty());

    // The same version again: untouched (a marker file survives).
    write(copy / "marker", "x");
    EXPECT_EQ(ruffle.copyInto((root_ / "site").string(), true, message),
              RuffleFolder::Outcome::AlreadyThere);
    EXPECT_TRUE(fs::exists(copy / "marker"));
}

TEST_F(RuffleFolderTest, OtherFoldersNamedRuffleAreNotOverwritten) {
    const RuffleFolder ruffle(source_.string());
    const fs::path site = root_ / "site";
    const fs::path target = site / "ruffle";
    std::string message;

    // Something that is not Ruffle: never touched, even when replacing is allowed.
    fs::create_directories(target);
    write(target / "mine.txt", "keep");
    for (bool replace : {false, true}) {
        EXPECT_EQ(ruffle.copyInto(site.string(), replace, message),
                  RuffleFolder::Outcome::NotRuffle);
        EXPECT_EQ(read(target / "mine.txt"), "keep");
        EXPECT_NE(message.find(target.string()), std::string::npos) << message;
    }
    fs::remove_all(target);
    write(target, "a file named ruffle");
    EXPECT_EQ(ruffle.copyInto(site.string(), true, message), RuffleFolder::Outcome::NotRuffle);
    EXPECT_EQ(read(target), "a file named ruffle");
    fs::remove(target);
    fs::create_directory_symlink(source_, target);
    EXPECT_EQ(ruffle.copyInto(site.string(), true, message), RuffleFolder::Outcome::NotRuffle)
        << "a link is not followed into someone else's folder";
    fs::remove(target);

    // Another version: kept unless replacing is asked for, then replaced whole.
    makeRuffle(target, "0.1.0");
    write(target / "extra.js", "old");
    EXPECT_EQ(ruffle.copyInto(site.string(), false, message), RuffleFolder::Outcome::OtherVersion);
    EXPECT_NE(message.find("0.1.0"), std::string::npos) << message;
    EXPECT_EQ(read(target / "ruffle.js"), "// ruffle 0.1.0");
    EXPECT_EQ(ruffle.copyInto(site.string(), true, message), RuffleFolder::Outcome::Replaced)
        << message;
    EXPECT_EQ(read(target / "ruffle.js"), "// ruffle 0.6.0");
    EXPECT_FALSE(fs::exists(target / "extra.js"));
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(RuffleFolderTest, AFailedCopyLeavesNothing) {
    const RuffleFolder ruffle(source_.string());
    std::string message;
    // The source cannot be listed: nothing is left in the page's folder.
    const RuffleFolder missing((root_ / "gone").string());
    EXPECT_EQ(missing.copyInto((root_ / "site").string(), false, message),
              RuffleFolder::Outcome::Failed);
    EXPECT_FALSE(fs::exists(root_ / "site" / "ruffle"));
    EXPECT_TRUE(leftovers().empty());
    // The page's folder does not exist.
    EXPECT_EQ(ruffle.copyInto((root_ / "nowhere").string(), false, message),
              RuffleFolder::Outcome::Failed);
    EXPECT_FALSE(fs::exists(root_ / "nowhere"));
}

} // namespace
