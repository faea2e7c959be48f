#include "core/devmode_record.h"
#include "watermark/watermark_record.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

using namespace zd;

namespace {

WatermarkRecord Abc() {
    WatermarkRecord r{};
    r.size = 72;
    r.angle = 45;
    r.color = 0x00C0C0C0;
    SetFieldText(r.text, kWatermarkTextUnits, u"ABC");
    SetFieldText(r.face, kWatermarkFaceUnits, u"HeiseiMin-W3-90ms-RKSJ-H");
    r.position = 3;
    return r;
}

std::u16string Text(const WatermarkRecord& r) {
    return FieldText(r.text, kWatermarkTextUnits);
}
std::u16string Face(const WatermarkRecord& r) {
    return FieldText(r.face, kWatermarkFaceUnits);
}

void ExpectSame(const WatermarkRecord& a, const WatermarkRecord& b) {
    EXPECT_EQ(a.size, b.size);
    EXPECT_EQ(a.fontNumber, b.fontNumber);
    EXPECT_EQ(a.angle, b.angle);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.color, b.color);
    EXPECT_EQ(Text(a), Text(b));
    EXPECT_EQ(Face(a), Face(b));
    EXPECT_EQ(a.weight, b.weight);
    EXPECT_EQ(a.italic, b.italic);
    EXPECT_EQ(a.charSet, b.charSet);
    EXPECT_EQ(a.position, b.position);
    EXPECT_EQ(a.frame, b.frame);
    EXPECT_EQ(a.background, b.background);
    EXPECT_EQ(a.firstPageOnly, b.firstPageOnly);
    EXPECT_EQ(a.style, b.style);
}

std::string Narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s)
        out.push_back(c < 128 ? char(c) : '?');
    return out;
}

} // namespace

TEST(WatermarkValue, FormatsTheAbcExampleToTheLetter) {
    EXPECT_EQ(Narrow(FormatWatermarkValue(Abc())),
              "72,0,45,0,0,12632256,ABC,HeiseiMin-W3-90ms-RKSJ-H,0,0,0,3,0,0,0,0");
}

TEST(WatermarkValue, FormatsNegativeNumbersAndTheUnsignedColour) {
    WatermarkRecord r = Abc();
    r.angle = -180;
    r.x = -1000;
    r.y = 1000;
    r.color = 0x00FF8000; // blue 255, green 128, red 0
    r.weight = 700;
    r.italic = 1;
    r.frame = 3;
    r.background = 1;
    r.firstPageOnly = 1;
    r.style = 5;
    EXPECT_EQ(Narrow(FormatWatermarkValue(r)),
              "72,0,-180,-1000,1000,16744448,ABC,HeiseiMin-W3-90ms-RKSJ-H,700,1,0,3,3,1,1,5");
}

TEST(WatermarkValue, KeyNamesHaveNoLeadingZerosInTheNumber) {
    EXPECT_EQ(WatermarkKeyName(1), u"WTMK001");
    EXPECT_EQ(WatermarkKeyName(9), u"WTMK009");
    EXPECT_EQ(WatermarkKeyName(10), u"WTMK0010");
    EXPECT_EQ(WatermarkKeyName(16), u"WTMK0016");
    EXPECT_EQ(FormatDecimal(-45), u"-45");
    EXPECT_EQ(FormatDecimal(0), u"0");
    EXPECT_EQ(FormatDecimal(INT32_MIN), u"-2147483648");
}

TEST(WatermarkValue, EscapesTheTextBothWays) {
    EXPECT_EQ(EscapeWatermarkText(u"a,b;c\\d"), u"a\\,b\\;c\\\\d");
    WatermarkRecord r = Abc();
    SetFieldText(r.text, kWatermarkTextUnits, u"a,b;c\\d");
    std::u16string v = FormatWatermarkValue(r);
    EXPECT_NE(v.find(u",a\\,b\\;c\\\\d,HeiseiMin"), std::u16string::npos);
    WatermarkRecord back{};
    ParseWatermarkValue(v, back);
    EXPECT_EQ(Text(back), u"a,b;c\\d");
    ExpectSame(back, r);
}

TEST(WatermarkValue, ReadsLooseNumbers) {
    EXPECT_EQ(ParseLooseNumber(u"0x2D"), 45);
    EXPECT_EQ(ParseLooseNumber(u"0X2d"), 45);
    EXPECT_EQ(ParseLooseNumber(u"-45"), -45);
    EXPECT_EQ(ParseLooseNumber(u"4-5"), -45);
    EXPECT_EQ(ParseLooseNumber(u" 7a2 "), 72); // other characters skipped
    EXPECT_EQ(ParseLooseNumber(u""), 0);
    EXPECT_EQ(ParseLooseNumber(u"4294967295"), -1); // wraps, no overflow fault

    WatermarkRecord r{};
    ParseWatermarkValue(u"0x48,1,0x2D,4-5,-45,255,T,F,400,1,128,6,2,1,1,3", r);
    EXPECT_EQ(r.size, 72);
    EXPECT_EQ(r.fontNumber, 1);
    EXPECT_EQ(r.angle, 45);
    EXPECT_EQ(r.x, -45);
    EXPECT_EQ(r.y, -45);
    EXPECT_EQ(r.color, 255u);
    EXPECT_EQ(r.charSet, 128);
    EXPECT_EQ(r.position, 6);
    EXPECT_EQ(r.style, 3);
}

TEST(WatermarkValue, KeepsTheStoredWidthsOfNarrowFields) {
    WatermarkRecord r{};
    ParseWatermarkValue(u"1,2,65581,0,0,0,t,f,0,257,513,259,260,-1,258,261", r);
    EXPECT_EQ(r.angle, 45); // low 16 bits of 65581
    EXPECT_EQ(r.italic, 1);
    EXPECT_EQ(r.charSet, 1);
    EXPECT_EQ(r.position, 3);
    EXPECT_EQ(r.frame, 4);
    EXPECT_EQ(r.background, 255); // low 8 bits, unsigned
    EXPECT_EQ(r.firstPageOnly, 2);
    EXPECT_EQ(r.style, 5);
}

TEST(WatermarkValue, SemicolonEndsAFieldLikeAComma) {
    WatermarkRecord r{};
    ParseWatermarkValue(u"10;20,30;0;0;99;te\\;xt;Face;400;0;0;1;2;0;1;0", r);
    EXPECT_EQ(r.size, 10);
    EXPECT_EQ(r.fontNumber, 20);
    EXPECT_EQ(r.angle, 30);
    EXPECT_EQ(Text(r), u"te;xt");
    EXPECT_EQ(Face(r), u"Face");
    EXPECT_EQ(r.weight, 400);
    EXPECT_EQ(r.frame, 2);
    EXPECT_EQ(r.firstPageOnly, 1);
}

TEST(WatermarkValue, ShortValuesLeaveMissingFieldsEmpty) {
    WatermarkRecord r = Abc();
    r.weight = 700;
    r.style = 3;
    ParseWatermarkValue(u"36,2,10", r);
    EXPECT_EQ(r.size, 36);
    EXPECT_EQ(r.fontNumber, 2);
    EXPECT_EQ(r.angle, 10);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.color, 0u);
    EXPECT_EQ(Text(r), u"");
    EXPECT_EQ(Face(r), u"");
    EXPECT_EQ(r.weight, 0);
    EXPECT_EQ(r.style, 0);

    // A text ending in a lone backslash stops at the end of the value.
    ParseWatermarkValue(u"1,2,3,4,5,6,abc\\", r);
    EXPECT_EQ(Text(r), u"abc");
    EXPECT_EQ(Face(r), u"");
    ParseWatermarkValue(u"", r);
    EXPECT_EQ(r.size, 0);
}

TEST(WatermarkValue, OverlongTextsAreCutToTheirFields) {
    std::u16string longText(300, u'x');
    longText[127] = u'y';
    std::u16string longFace(80, u'F');
    std::u16string value = u"72,0,45,0,0,0," + longText + u"," + longFace + u",400,0,0,3,0,0,0,0";
    WatermarkRecord r{};
    ParseWatermarkValue(value, r);
    EXPECT_EQ(Text(r).size(), 128u);
    EXPECT_EQ(Text(r)[127], u'y');
    EXPECT_EQ(r.text[128], 0);
    EXPECT_EQ(Face(r), std::u16string(32, u'F'));
    EXPECT_EQ(r.weight, 400); // the fields after the long ones still line up
    EXPECT_EQ(r.position, 3);
}

TEST(WatermarkValue, RecordsTheDialogsProduceSurviveFormatAndRead) {
    std::mt19937 rng(20261208);
    const std::u16string alphabet = u"AZaz09 ,;\\-.\"'=[]\u65E0\u6C34\u5370\u00E9";
    for (int round = 0; round < 2000; ++round) {
        WatermarkRecord r{};
        r.size = int32_t(rng() % 600 + 1);
        r.fontNumber = int32_t(rng() % 40);
        r.angle = int16_t(int(rng() % 361) - 180);
        r.x = int32_t(rng() % 2001) - 1000;
        r.y = int32_t(rng() % 2001) - 1000;
        r.color = rng() & 0x00FFFFFF;
        std::u16string text;
        size_t len = rng() % 129;
        for (size_t i = 0; i < len; ++i)
            text.push_back(alphabet[rng() % alphabet.size()]);
        SetFieldText(r.text, kWatermarkTextUnits, text);
        std::u16string face;
        size_t faceLen = rng() % 33;
        for (size_t i = 0; i < faceLen; ++i)
            face.push_back(char16_t(u'A' + rng() % 26));
        SetFieldText(r.face, kWatermarkFaceUnits, face);
        const int32_t weights[] = {0, 400, 700};
        r.weight = weights[rng() % 3];
        r.italic = uint8_t(rng() % 2);
        r.charSet = uint8_t(rng() % 256);
        r.position = uint16_t(rng() % 7);
        r.frame = uint16_t(rng() % 4);
        r.background = uint16_t(rng() % 2);
        r.firstPageOnly = uint8_t(rng() % 2);
        const uint16_t styles[] = {0, 1, 2, 3, 5};
        r.style = styles[rng() % 5];

        WatermarkRecord back;
        std::memset(&back, 0xA5, sizeof back);
        ParseWatermarkValue(FormatWatermarkValue(r), back);
        ExpectSame(back, r);
        if (HasFailure()) {
            ADD_FAILURE() << "round " << round << ": " << Narrow(FormatWatermarkValue(r));
            break;
        }
    }
}

TEST(WatermarkRecordCopy, CopiesEveryFieldAndTheTextsUpToTheirNul) {
    WatermarkRecord src = Abc();
    src.fontNumber = 4;
    src.x = -3;
    src.y = 9;
    src.weight = 700;
    src.italic = 1;
    src.charSet = 2;
    src.frame = 1;
    src.background = 1;
    src.firstPageOnly = 1;
    src.style = 3;
    WatermarkRecord dst;
    std::memset(&dst, 0x5A, sizeof dst);
    CopyWatermark(dst, src);
    ExpectSame(dst, src);
    EXPECT_EQ(dst.text[3], 0);
    EXPECT_EQ(dst.text[4], 0x5A5A); // bytes past the NUL are not copied
}

TEST(WatermarkRecordCopy, NoneDefaultsFollowDefaultNo) {
    WatermarkRecord r;
    std::memset(&r, 0x77, sizeof r);
    FillNoneDefaults(r, 3, u"\u65E0", u"HeiseiMin-W3-90ms-RKSJ-H");
    EXPECT_EQ(r.fontNumber, 2);
    EXPECT_EQ(r.size, 72);
    EXPECT_EQ(r.angle, 45);
    EXPECT_EQ(r.color, 0x00C0C0C0u);
    EXPECT_EQ(r.position, 3);
    EXPECT_EQ(r.weight, 0);
    EXPECT_EQ(r.style, 0);
    EXPECT_EQ(Text(r), u"\u65E0");
    FillNoneDefaults(r, 0, u"\u65E0", u"HeiseiMin-W3-90ms-RKSJ-H");
    EXPECT_EQ(r.fontNumber, 0);
    FillNoneDefaults(r, -4, u"\u65E0", u"H");
    EXPECT_EQ(r.fontNumber, 0);
}

TEST(CustomColorValue, ReadsSpacesSignsAndMissingParts) {
    EXPECT_EQ(ParseCustomColorValue(u"255, 0,  128"), 0x008000FFu);
    EXPECT_EQ(ParseCustomColorValue(u"+1,2,3"), 0x00030201u);
    EXPECT_EQ(ParseCustomColorValue(u"256,-1,7x"), 0x0007FF00u); // low bytes only
    EXPECT_EQ(ParseCustomColorValue(u"12"), 0x0000000Cu);
    EXPECT_EQ(ParseCustomColorValue(u""), 0u);
    EXPECT_EQ(ParseCustomColorValue(u"1,2,3,4"), 0x00030201u);
    std::u16string longPart(300, u'1');
    EXPECT_EQ(ParseCustomColorValue(longPart + u",5,6") & 0xFFFF00u, 0x060500u);
    EXPECT_EQ(FormatCustomColorValue(0x008000FF), u"255,0,128");
    EXPECT_EQ(ParseCustomColorValue(FormatCustomColorValue(0x00123456)), 0x00123456u);
}

TEST(FontEntry, SplitsAtCommasAndSemicolonsAndSpotsJapaneseEntries) {
    auto f = SplitFontEntry(u"Times,Times-Italic;Times-Bold,Times-BoldItalic,Times New Roman");
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[1], u"Times-Italic");
    EXPECT_EQ(f[2], u"Times-Bold");
    EXPECT_EQ(f[4], u"Times New Roman");
    EXPECT_FALSE(IsJapaneseFontEntry(f));

    auto j = SplitFontEntry(u"\u660E\u671D,MS Mincho,HeiseiMin-W3-90ms-RKSJ-H,\u65E5\u672C\u8A9E");
    ASSERT_EQ(j.size(), 4u);
    EXPECT_TRUE(IsJapaneseFontEntry(j));
    EXPECT_FALSE(IsJapaneseFontEntry(SplitFontEntry(u"a,b,c,\u65E5x")));
    EXPECT_FALSE(IsJapaneseFontEntry(SplitFontEntry(u"a,b,c")));
    EXPECT_TRUE(SplitFontEntry(u"").empty());
    EXPECT_EQ(SplitFontEntry(u"a,,b").size(), 3u);
}

TEST(WatermarkBlock, ColourTextHasTwoDecimalsAndZeroPadding) {
    auto t = WatermarkColorText(0x00FF8000); // blue 255, green 128, red 0
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.data())), "0.00 0.50 1.00");
    for (size_t i = 14; i < 16; ++i)
        EXPECT_EQ(t[i], 0);
    auto g = WatermarkColorText(0x00C0C0C0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g.data())), "0.75 0.75 0.75");
    auto red = WatermarkColorText(0x000000FF);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(red.data())), "1.00 0.00 0.00");
}

// The printing side reads the text that the C library's "%1.2f" gave.
TEST(WatermarkBlock, ColourTextIsTheNearestHundredthOfEveryChannelValue) {
    for (uint32_t v = 0; v < 256; ++v) {
        char expected[16] = {};
        snprintf(expected, sizeof expected, "%1.2f %1.2f %1.2f", v / 255.0, (255 - v) / 255.0,
                 (v ^ 0x5A) / 255.0);
        auto t = WatermarkColorText(v | (255 - v) << 8 | (v ^ 0x5A) << 16);
        ASSERT_EQ(std::string(reinterpret_cast<const char*>(t.data())), expected) << v;
    }
}

TEST(WatermarkBlock, WritesExactlyTheBytesOfTheBlock) {
    std::array<uint8_t, kOemDevModeSize> block;
    block.fill(0xEE);
    WatermarkRecord r = Abc();
    r.fontNumber = 2;
    r.angle = -30;
    r.x = -5;
    r.y = 7;
    r.color = 0x00FF8000;
    r.weight = 700;
    r.italic = 1;
    r.charSet = 128;
    r.position = 6;
    r.frame = 2;
    r.background = 1;
    r.firstPageOnly = 1;
    r.style = 2;
    WriteWatermarkBlock(ByteView(block.data(), block.size()), 4, r);

    std::array<uint8_t, kOemDevModeSize> expect;
    expect.fill(0xEE);
    auto put = [&expect](size_t off, std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            expect[off++] = b;
    };
    put(68, {4, 0, 0, 0});
    put(608, {72, 0, 0, 0});
    put(612, {2, 0, 0, 0});
    put(616, {0xE2, 0xFF});
    put(620, {0xFB, 0xFF, 0xFF, 0xFF});
    put(624, {7, 0, 0, 0});
    put(628, {0x00, 0x80, 0xFF, 0x00});
    const char* face = "HeiseiMin-W3-90ms-RKSJ-H";
    for (size_t i = 0; i <= strlen(face); ++i)
        put(894 + 2 * i, {uint8_t(face[i]), 0});
    put(960, {0xBC, 0x02, 0, 0});
    put(964, {1, 128, 6, 0, 2, 0, 1, 0, 1});
    put(974, {2, 0});
    const char* colorText = "0.00 0.50 1.00";
    for (size_t i = 0; i < 16; ++i)
        put(976 + i, {uint8_t(i < strlen(colorText) ? colorText[i] : 0)});
    put(2570, {'A', 0, 'B', 0, 'C', 0, 0, 0});
    for (size_t i = 0; i < expect.size(); ++i)
        ASSERT_EQ(block[i], expect[i]) << "offset " << i;
}

TEST(WatermarkBlock, StaysInsideAShortView) {
    std::array<uint8_t, 1000> small;
    small.fill(0);
    WatermarkRecord r = Abc();
    WriteWatermarkBlock(ByteView(small.data(), small.size()), 1, r);
    EXPECT_EQ(small[68], 1);
    EXPECT_EQ(small[976], '0');
}

TEST(WatermarkValue, SplitsFieldsAsTheReaderWalksThem) {
    // Sixteen fields; the text unescaped and not cut; a semicolon separates.
    std::u16string text(200, u'T');
    auto fields = SplitWatermarkFields(u"72,0,45,0,0,1,a\\,b" + text + u",Face,0,0,0,3;0,0,0,0");
    ASSERT_EQ(fields.size(), kWatermarkFieldCount);
    EXPECT_EQ(fields[kWatermarkTextField], u"a,b" + text);
    EXPECT_EQ(fields[kWatermarkFaceField], u"Face");
    EXPECT_EQ(fields[12], u"0");
    // Short and long values keep their real field counts.
    EXPECT_EQ(SplitWatermarkFields(u"").size(), 1u);
    EXPECT_EQ(SplitWatermarkFields(u"1,2,").size(), 3u);
    EXPECT_EQ(SplitWatermarkFields(u"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17").size(), 17u);
}

TEST(WatermarkValue, AddedElsewhereAreWhatNeitherSheetKnew) {
    using V = std::vector<std::u16string>;
    // This sheet read A B, deleted B and added X; the other added Y and A again.
    EXPECT_EQ(WatermarksAddedElsewhere({u"A", u"B"}, {u"A", u"B", u"Y", u"A"}, {u"A", u"X"}, 16),
              (V{u"Y", u"A"}));
    // This sheet's own earlier, partly written save adds nothing.
    EXPECT_EQ(WatermarksAddedElsewhere({u"A"}, {u"A", u"X"}, {u"A", u"X", u"Z"}, 16), V{});
    // Only as many as there is room for, in file order.
    EXPECT_EQ(WatermarksAddedElsewhere({}, {u"P", u"Q", u"R"}, {}, 2), (V{u"P", u"Q"}));
    // Written the same way, two spellings of one watermark compare equal.
    EXPECT_EQ(NormalisedWatermarkValue(u"72,0,45,0,0,0,W,Times"),
              NormalisedWatermarkValue(u"72,0,45,0,0,0,W,Times,0,0,0,0,0,0,0,0"));
}
