#include "ui/number_field.h"

#include <gtest/gtest.h>

using namespace zd;

TEST(NumberFieldRule, DigitsAndZeroes) {
    EXPECT_TRUE(NumberFieldAccepts(u"", 0, false));
    EXPECT_TRUE(NumberFieldAccepts(u"7", 1, false));
    EXPECT_TRUE(NumberFieldAccepts(u"70", 2, false));   // a zero after a digit
    EXPECT_TRUE(NumberFieldAccepts(u"0", 1, false));    // zero as the whole text
    EXPECT_FALSE(NumberFieldAccepts(u"072", 1, false)); // zero in front of digits
    EXPECT_FALSE(NumberFieldAccepts(u"7a", 2, false));
    EXPECT_FALSE(NumberFieldAccepts(u"7 ", 2, false));
    EXPECT_FALSE(NumberFieldAccepts(u"\u4e00", 1, false));
}

TEST(NumberFieldRule, SignsOnlyFirstAndOnlyInSignedFields) {
    EXPECT_TRUE(NumberFieldAccepts(u"-", 1, true));
    EXPECT_TRUE(NumberFieldAccepts(u"-45", 1, true));
    EXPECT_TRUE(NumberFieldAccepts(u"+4", 1, true));
    EXPECT_FALSE(NumberFieldAccepts(u"-", 1, false));
    EXPECT_FALSE(NumberFieldAccepts(u"4-", 2, true));  // "-" elsewhere
    EXPECT_FALSE(NumberFieldAccepts(u"--4", 1, true)); // followed by another sign
    EXPECT_FALSE(NumberFieldAccepts(u"-+", 1, true));
    EXPECT_TRUE(NumberFieldAccepts(u"-0", 2, true)); // zero not at the first position
}

TEST(NumberFieldRule, CorrectionPullsIntoRange) {
    EXPECT_EQ(NumberFieldCorrection(u"700", 1, 600), 600);
    EXPECT_EQ(NumberFieldCorrection(u"0", 1, 600), 1);
    EXPECT_EQ(NumberFieldCorrection(u"72", 1, 600), std::nullopt);
    EXPECT_EQ(NumberFieldCorrection(u"-181", -180, 180), -180);
    EXPECT_EQ(NumberFieldCorrection(u"-", -180, 180), std::nullopt);
    EXPECT_EQ(NumberFieldCorrection(u"99999999999999999999", 1, 600), 600);
    EXPECT_EQ(NumberFieldCorrection(u"-99999999999999999999", -180, 180), -180);
}

TEST(NumberFieldRule, ParseSaturatesAndStopsAtNonDigits) {
    EXPECT_EQ(ParseDecimalSaturating(u"2147483647"), 2147483647);
    EXPECT_EQ(ParseDecimalSaturating(u"2147483648"), 2147483647);
    EXPECT_EQ(ParseDecimalSaturating(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseDecimalSaturating(u"-2147483649"), -2147483647 - 1);
    EXPECT_EQ(ParseDecimalSaturating(u"12x4"), 12);
    EXPECT_EQ(ParseDecimalSaturating(u"+"), 0);
    EXPECT_EQ(ParseDecimalSaturating(u""), 0);
}

TEST(DigitEntry, KeepsDigitsSaturatesAndCaps) {
    DigitEntry e = FilterDigitEntry(u"1a", std::nullopt);
    EXPECT_EQ(e.value, 1u);
    EXPECT_TRUE(e.hadNonDigit);
    EXPECT_EQ(FilterDigitEntry(u"", std::nullopt).value, 0u);
    EXPECT_EQ(FilterDigitEntry(u"x", 1000).value, 0u);
    e = FilterDigitEntry(u"2000", 1000);
    EXPECT_EQ(e.value, 1000u);
    EXPECT_TRUE(e.capped);
    EXPECT_FALSE(e.hadNonDigit);
    // Past 32 bits the value holds at the top instead of wrapping to 1.
    EXPECT_EQ(FilterDigitEntry(u"4294967297", 1000).value, 1000u);
    EXPECT_EQ(FilterDigitEntry(u"4294967297", std::nullopt).value, kDigitEntryMax);
    EXPECT_EQ(FilterDigitEntry(u"99999999999999999999999", std::nullopt).value, kDigitEntryMax);
}

TEST(DigitEntry, FieldReadAtValidation) {
    EXPECT_EQ(ParseUnsignedField(u"100"), 100u);
    EXPECT_EQ(ParseUnsignedField(u"4294967295"), 4294967295u);
    EXPECT_EQ(ParseUnsignedField(u"4294967296"), std::nullopt);
    EXPECT_EQ(ParseUnsignedField(u""), std::nullopt);
    EXPECT_EQ(ParseUnsignedField(u"1 "), std::nullopt);
    EXPECT_EQ(ParseUnsignedField(u"-1"), std::nullopt);
}
