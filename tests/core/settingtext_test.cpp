#include <gtest/gtest.h>

#include "stage/CRKeditDoc.h"
#include "stage/settingtext.h"

TEST(DigitValue, CountsOnlyDigitsOneToNineAndWraps) {
    const struct {
        const char* text;
        std::int32_t value;
    } rows[] = {
        {"640", 640},
        {"", 0},
        {"-5", 5},
        {" 5", 5},
        {"5 ", 50},
        {"1a2", 102},
        {"0", 0},
        {"016", 16},
        {"1.5", 105},
        {"214748364", 214748364},
        // The running value is multiplied by 10 after the last digit too, so ten digits
        // wrap: 2147483647 * 10 is -10 in 32 bits, and -10 / 10 is -1.
        {"2147483647", -1},
    };
    for (const auto& r : rows)
        EXPECT_EQ(digitValue(r.text), r.value) << '"' << r.text << '"';
}

TEST(DecimalText, ZeroPositiveNegativeAndExtremes) {
    EXPECT_EQ(decimalText(0), "0");
    EXPECT_EQ(decimalText(640), "640");
    EXPECT_EQ(decimalText(-5), "-5");
    EXPECT_EQ(decimalText(INT32_MIN), "-2147483648");
    EXPECT_EQ(decimalText(INT32_MAX), "2147483647");
}

TEST(CeilingDivision, RoundsUpOnRemainder) {
    EXPECT_EQ(ceilingDivision(640, 15), 43);
    EXPECT_EQ(ceilingDivision(480, 12), 40);
    EXPECT_EQ(ceilingDivision(0, 15), 0);
    EXPECT_EQ(ceilingDivision(1, 1), 1);
    EXPECT_EQ(ceilingDivision(INT32_MIN, -1), INT32_MIN);
    // A divisor of 0 has no result: 0, whatever the dividend.
    for (const std::int32_t a : {0, 1, 5, -5, INT32_MAX, INT32_MIN})
        EXPECT_EQ(ceilingDivision(a, 0), 0) << a;
}

// Settings whose digit value wraps give negative operands. The rule is C's: the quotient is
// truncated toward zero, the remainder takes the sign of the dividend, and any remainder adds
// 1, whichever its sign. So a negative quotient with a remainder moves toward zero by one more
// than a true ceiling would, and a positive one rounds up as usual.
TEST(CeilingDivision, NegativeOperandsFollowTruncatedDivision) {
    const struct {
        std::int32_t a, b, result;
    } rows[] = {
        {-7, -2, 4}, // 3 rem -1
        {-6, -2, 3}, // exact
        {-1, -2, 1}, // 0 rem -1
        {-7, 2, -2}, // -3 rem -1: not the ceiling -3
        {7, -2, -2}, // -3 rem 1
        {-6, 2, -3}, // exact
        {-1, 2, 1},  // 0 rem -1: not the ceiling 0
        {1, -2, 1},  // 0 rem 1
        {-7, -1, 7}, // the divisor -1 never leaves a remainder
        {INT32_MAX, -1, -INT32_MAX},
        {INT32_MIN, -2, 1073741824},     // exact
        {INT32_MIN + 1, -2, 1073741824}, // 1073741823 rem -1
        {INT32_MIN, 3, -715827881},      // -715827882 rem -2
    };
    for (const auto& r : rows)
        EXPECT_EQ(ceilingDivision(r.a, r.b), r.result) << r.a << " / " << r.b;
}

TEST(StageSize, ColumnsAndRowsFromSettingTexts) {
    CRKeditDoc doc;
    EXPECT_EQ(doc.columns(), 0); // a new document has graphicWidth "0"
    doc.graphicWidth = "640";
    doc.graphicHeight = "480";
    EXPECT_EQ(doc.columns(), 43);
    EXPECT_EQ(doc.rows(), 40);
    doc.blockWidth = "0";
    EXPECT_EQ(doc.columns(), 0); // no cell can be computed
}
