#include "watermark/watermark_dialog_rules.h"

#include <gtest/gtest.h>

using namespace zd;

TEST(OffsetField, KeepsDigitsAndALeadingMinusAndClamps) {
    OffsetEntry e = FilterOffsetText(u"12a");
    EXPECT_EQ(e.value, 12);
    EXPECT_TRUE(e.dropped);
    EXPECT_EQ(e.keptLength, 2u);
    e = FilterOffsetText(u"-");
    EXPECT_EQ(e.value, 0);
    EXPECT_FALSE(e.dropped || e.clamped); // typing a negative number goes on
    e = FilterOffsetText(u"-25");
    EXPECT_EQ(e.value, -25);
    EXPECT_FALSE(e.dropped || e.clamped);
    e = FilterOffsetText(u"-2000");
    EXPECT_EQ(e.value, -1000);
    EXPECT_TRUE(e.clamped);
    EXPECT_FALSE(e.dropped);
    e = FilterOffsetText(u"5-9999999999999");
    EXPECT_EQ(e.value, 1000);
    EXPECT_TRUE(e.dropped && e.clamped);
}

TEST(NumberFieldRead, WholeFieldOrNothing) {
    EXPECT_EQ(ParseNumberField(u"72", false), 72);
    EXPECT_EQ(ParseNumberField(u"-45", true), -45);
    EXPECT_EQ(ParseNumberField(u"-45", false), std::nullopt);
    EXPECT_EQ(ParseNumberField(u"-", true), std::nullopt);
    EXPECT_EQ(ParseNumberField(u"", false), std::nullopt);
    EXPECT_EQ(ParseNumberField(u"4a", false), std::nullopt);
    EXPECT_EQ(ParseNumberField(u"99999999999", false), INT32_MAX);
}

TEST(ScrollBars, StepsPagesThumbAndLimits) {
    EXPECT_EQ(NextScrollPosition(600, kScrollLineDown, 0, kSizeMin, kSizeMax), 600);
    EXPECT_EQ(NextScrollPosition(595, kScrollPageDown, 0, kSizeMin, kSizeMax), 600);
    EXPECT_EQ(NextScrollPosition(5, kScrollPageUp, 0, kSizeMin, kSizeMax), 1);
    EXPECT_EQ(NextScrollPosition(0, kScrollThumbTrack, -180, kAngleMin, kAngleMax), -180);
    EXPECT_EQ(NextScrollPosition(45, kScrollEnd, 7, kAngleMin, kAngleMax), 45);
}

TEST(FontEntries, FaceAndStyleOnConfirmation) {
    const std::u16string latin = u"Times,Times-Italic,Times-Bold,Times-BoldItalic,Times New Roman";
    FaceAndStyle r = FaceAndStyleFor(latin, 700, 1);
    EXPECT_EQ(r.face, u"Times-BoldItalic");
    EXPECT_EQ(r.style, 5);
    r = FaceAndStyleFor(latin, 400, 0);
    EXPECT_EQ(r.face, u"Times");
    EXPECT_EQ(r.style, 0);
    const std::u16string japanese = u"\u660E\u671D,MS Mincho,HeiseiMin-W3-90ms-RKSJ-H,\u65E5\u672C";
    r = FaceAndStyleFor(japanese, 700, 0);
    EXPECT_EQ(r.face, u"HeiseiMin-W3-90ms-RKSJ-H");
    EXPECT_EQ(r.style, 2);
    // A short entry yields an empty face; a long one is cut to the record.
    EXPECT_EQ(FaceAndStyleFor(u"Only", 700, 0).face, u"");
    EXPECT_EQ(FaceAndStyleFor(u"" + std::u16string(40, u'x'), 0, 0).face.size(), 32u);

    PreviewFace p = PreviewFaceFor(japanese, 32);
    EXPECT_TRUE(p.japanese);
    EXPECT_EQ(p.face, u"MS Mincho");
    p = PreviewFaceFor(latin, 8);
    EXPECT_FALSE(p.japanese);
    EXPECT_EQ(p.face, u"Times N");
    EXPECT_EQ(FontDisplayName(japanese), u"\u660E\u671D");
}

TEST(FontDialogLists, SizesStylesAndTypedSizes) {
    EXPECT_EQ(FontSizeAt(0), 8);
    EXPECT_EQ(FontSizeAt(15), 72);
    EXPECT_EQ(FontSizeAt(16), 255);
    EXPECT_EQ(FontSizeIndex(72), 15);
    EXPECT_EQ(FontSizeIndex(7), kNoFontSize);
    EXPECT_EQ(FontStyleIndex(0, 0), 0);
    EXPECT_EQ(FontStyleIndex(700, 1), 3);
    EXPECT_EQ(FontStyleIndex(600, 1), 1); // only 700 is bold
    EXPECT_EQ(FontStyleWeight(3), 700);
    EXPECT_EQ(FontStyleItalic(3), 1);
    EXPECT_EQ(TypedFontSize(u"40000"), 600); // clamped before it is narrowed
    EXPECT_EQ(TypedFontSize(u"7"), 7);
    EXPECT_EQ(TypedFontSize(u"x"), 0);
}
