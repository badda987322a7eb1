#include <gtest/gtest.h>

#include "stage/CRKeditDoc.h"
#include "stage/propertyvalues.h"
#include "text/integerentry.h"
#include "text/lineends.h"

TEST(PropertyTransfer, RoundTripNormalisesEveryNumericText) {
    CRKeditDoc doc;
    doc.baseSpeed = "016";
    doc.life = "-5";
    doc.ballSize = "1.5";
    doc.barWidth = "5 ";
    doc.graphicHeight = "480";
    doc.barSpace = "150";
    doc.ballSpeedRate = " 25%";
    doc.keyboardMode = 1;
    PropertyValues p;
    documentToPanel(doc, p);
    EXPECT_EQ(p.runtimeHeight, 630);
    EXPECT_EQ(p.ballSpeedRate, " 25%");
    const auto r = panelToDocument(p, doc);
    EXPECT_EQ(doc.baseSpeed, "16");
    EXPECT_EQ(doc.life, "5");
    EXPECT_EQ(doc.ballSize, "105");
    EXPECT_EQ(doc.barWidth, "50");
    EXPECT_EQ(doc.ballSpeedRate, " 25%");
    EXPECT_EQ(doc.keyboardMode, 1);
    EXPECT_TRUE(r.changed);
    EXPECT_FALSE(r.repaint);
    EXPECT_FALSE(r.gridCleared);
    // A second round trip finds nothing to change.
    documentToPanel(doc, p);
    EXPECT_FALSE(panelToDocument(p, doc).changed);
}

TEST(PropertyTransfer, BlockSizeTextDifferenceClearsTheGridAndRepaints) {
    // "015" against 15 clears: the texts are compared, not the numbers. "abc" is a cell size
    // of 0: nothing is computed, nothing cleared.
    const struct {
        const char *docWidth, *docHeight;
        std::int32_t panelWidth, panelHeight;
        bool cleared;
    } rows[] = {
        {"15", "12", 15, 12, false}, {"015", "12", 15, 12, true}, {"15", "12", 8, 12, true},
        {"15", "12", 15, 8, true},   {"0", "12", 0, 12, false},   {"abc", "12", 0, 12, true},
    };
    for (const auto& r : rows) {
        CRKeditDoc doc;
        doc.blockWidth = r.docWidth;
        doc.blockHeight = r.docHeight;
        doc.cell(2, 2) = 1;
        PropertyValues p;
        documentToPanel(doc, p);
        p.graphicWidth = 640;
        p.graphicHeight = 480;
        p.blockWidth = r.panelWidth;
        p.blockHeight = r.panelHeight;
        const auto result = panelToDocument(p, doc);
        EXPECT_EQ(result.gridCleared, r.cleared) << r.docWidth << ' ' << r.panelWidth;
        EXPECT_EQ(result.repaint, r.cleared);
        EXPECT_EQ(doc.cell(2, 2), (r.cleared && r.panelWidth != 0) ? 0 : 1);
        EXPECT_EQ(doc.blockWidth, std::to_string(r.panelWidth));
    }
}

TEST(PropertyTransfer, CheckBoxOrSpeedRateAloneNeedsNoRepaint) {
    CRKeditDoc doc;
    PropertyValues p;
    documentToPanel(doc, p);
    p.rankingEnable = 1;
    p.barSpeedRate = "150%";
    const auto r = panelToDocument(p, doc);
    EXPECT_TRUE(r.changed);
    EXPECT_FALSE(r.repaint);
    EXPECT_EQ(doc.rankingEnable, 1);
    EXPECT_EQ(doc.barSpeedRate, "150%");
    p.barSpace = 200;
    EXPECT_TRUE(panelToDocument(p, doc).repaint);
    EXPECT_EQ(doc.barSpace, "200");
}

TEST(IntegerEntry, AcceptsSignedDecimalWithBlanksOnly) {
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } rows[] = {
        {"016", 16},
        {" -5\t", -5},
        {"+7", 7},
        {"0", 0},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", {}},
        {"99999999999", {}},
        {"", {}},
        {"  ", {}},
        {"-", {}},
        {"1.5", {}},
        {"5a", {}},
        {"1 2", {}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(parseIntegerEntry(r.text), r.value) << '"' << r.text << '"';
}

TEST(LineEnds, EveryBreakBecomesCrLf) {
    const struct {
        const char *in, *out;
    } rows[] = {
        {"a\nb", "a\r\nb"},
        {"a\r\nb", "a\r\nb"},
        {"a\rb", "a\r\nb"},
        {"a\n\nb", "a\r\n\r\nb"},
        {"a\r\r\nb\n", "a\r\n\r\nb\r\n"},
        {"", ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(withCrLfLineEnds(r.in), r.out) << r.in;
}
