#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "html/htmlexportvalues.h"
#include "html/htmlpage.h"
#include "stage/CRKeditDoc.h"

namespace {

std::string readGolden(const std::string& name) {
    std::ifstream in(std::string(RK_TEST_DATA_DIR) + "/html/" + name, std::ios::binary);
    EXPECT_TRUE(in) << "missing golden file " << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Shows the first differing line, which says far more than two 1 kB strings.
::testing::AssertionResult samePage(const std::string& expected, const std::string& actual) {
    if (expected == actual)
        return ::testing::AssertionSuccess();
    std::istringstream e(expected), a(actual);
    std::string el, al;
    for (int line = 1;; ++line) {
        const bool eok = bool(std::getline(e, el)), aok = bool(std::getline(a, al));
        if (!eok && !aok)
            break;
        if (el != al || eok != aok)
            return ::testing::AssertionFailure()
                   << "line " << line << "\n expected: " << el << "\n   actual: " << al;
    }
    return ::testing::AssertionFailure() << "pages differ in line ends only";
}

struct GoldenCase {
    const char* file;
    void (*setUp)(CRKeditDoc&);
};

const GoldenCase goldenCases[] = {
    {"new_document.html", [](CRKeditDoc&) {}},
    {"right.html",
     [](CRKeditDoc& d) {
         d.title = "Stage 1";
         d.configFileName = "stage1.txt";
         d.quality = "medium";
         d.annotationPosition = "right";
         d.bgcolorGame = 0x000000ff; // red
         d.bgcolorHtml = 0x00ff0000; // blue
         d.graphicWidth = "640";
         d.graphicHeight = "480";
     }},
    {"bottom.html",
     [](CRKeditDoc& d) {
         d.title = "a \"b\" <c>";
         d.configFileName = "s1.txt";
         d.quality = "low";
         d.annotationPosition = "bottom";
         d.bgcolorGame = 0x0000ff00; // green
         d.bgcolorHtml = 0x00ffffff; // white
         d.graphicWidth = " 320";
         d.graphicHeight = "2a0";
     }},
    {"none.html",
     [](CRKeditDoc& d) {
         d.title = "\x83X\x83"
                   "e\x81[\x83W\x87@";    // "ステージ①" in CP932
         d.configFileName = "\x95\\.txt"; // "表.txt": its trail byte is '\'
         d.quality = "best";
         d.annotationPosition = "none";
         d.bgcolorGame = 0x00efcdab;
         d.bgcolorHtml = 0xff123456; // the top byte is not part of the colour
         d.graphicWidth = "320";
         d.graphicHeight = "240";
     }},
};

} // namespace

TEST(HtmlPage, MatchesGoldenPageForEachLayout) {
    for (const auto& c : goldenCases) {
        CRKeditDoc doc;
        c.setUp(doc);
        EXPECT_TRUE(samePage(readGolden(c.file), composeHtmlPage(doc))) << c.file;
    }
}

TEST(HtmlPage, UnknownAnnotationPositionPutsTheBlockInTheMovieCell) {
    // Only the exact lowercase words choose a layout; anything else is the empty text's layout.
    const std::string reference = composeHtmlPage(CRKeditDoc());
    for (const char* position : {"Right", "BOTTOM", "None", " right", "left"}) {
        CRKeditDoc doc;
        doc.annotationPosition = position;
        EXPECT_EQ(composeHtmlPage(doc), reference) << position;
    }
}

TEST(HtmlPage, EveryLineEndsWithCrLfTheLastIncluded) {
    // The golden pages hold these too; this guards against a golden file saved with LF.
    for (const auto& c : goldenCases) {
        CRKeditDoc doc;
        c.setUp(doc);
        const std::string page = composeHtmlPage(doc);
        std::size_t lines = 0, crlf = 0;
        for (std::size_t i = 0; i < page.size(); ++i) {
            lines += page[i] == '\n';
            crlf += page.compare(i, 2, "\r\n") == 0;
        }
        EXPECT_EQ(crlf, lines) << c.file;
        EXPECT_TRUE(page.ends_with("</HTML>\r\n")) << c.file;
        EXPECT_NE(page.find("</OBJECT>\r\n\r\n<"), std::string::npos) << c.file;
    }
}

TEST(HtmlPage, LineFeedsInsideValuesAlsoEndWithCrLf) {
    // A value read from elsewhere could hold a bare LF; a text file never has one.
    CRKeditDoc doc;
    doc.title = "one\ntwo";
    EXPECT_NE(composeHtmlPage(doc).find("<TITLE>one\r\ntwo</TITLE>\r\n"), std::string::npos);
}

TEST(ColourText, RedGreenBlueFromTheLowBytesAndBack) {
    const struct {
        std::uint32_t colour;
        const char* text;
    } rows[] = {
        {0x000000ff, "ff0000"}, {0x0000ff00, "00ff00"}, {0x00ff0000, "0000ff"},
        {0x00ffffff, "ffffff"}, {0x00010203, "030201"}, {0x7f0a0b0c, "0c0b0a"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(colourText(r.colour), r.text) << std::hex << r.colour;
        std::uint32_t back = 1;
        EXPECT_TRUE(parseColourText(r.text, back) && back == (r.colour & 0x00ffffffu)) << r.text;
    }
    std::uint32_t colour = 0;
    EXPECT_TRUE(parseColourText("FF8000", colour) && colour == 0x000080ffu);
    for (const char* bad : {"", "ff00000", "#ff000", "gg0000", "ff 000", "0x0000", "-10000"}) {
        colour = 7;
        EXPECT_FALSE(parseColourText(bad, colour) || colour != 7) << bad;
    }
}

TEST(MovieHeightText, SumsDigitValues) {
    const struct {
        const char* height;
        const char* barSpace;
        const char* text;
    } rows[] = {
        {"", "", "0"},
        {"1.5", "0", "105"},
        {"-5", "", "5"},
        // Ten-digit texts wrap in 32 bits, as every setting does.
        {"2147483647", "0", "-1"},
        {"214748364", "214748364", "429496728"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(movieHeightText(r.height, r.barSpace), r.text)
            << '"' << r.height << "\" + \"" << r.barSpace << '"';
}

TEST(HtmlExportValues, StoresAllSixValuesAndTellsWhetherAnyChanged) {
    CRKeditDoc doc;
    HtmlExportValues v = HtmlExportValues::from(doc);
    EXPECT_FALSE(v.storeInto(doc));

    v.bgcolorGame = 1;
    v.bgcolorHtml = 2;
    v.title = "t";
    v.configFileName = "c";
    v.quality = "low";
    v.annotationPosition = "none";
    EXPECT_TRUE(v.storeInto(doc));
    EXPECT_EQ(HtmlExportValues::from(doc), v);
    EXPECT_FALSE(v.storeInto(doc));

    // One value alone counts as a change.
    v.annotationPosition = "right";
    EXPECT_TRUE(v.storeInto(doc));
    EXPECT_EQ(doc.annotationPosition, "right");
    // The other settings are not touched.
    EXPECT_EQ(doc.graphicWidth, "0");
    EXPECT_EQ(doc.barSpace, "150");
}
