#include "core/devmode_record.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace zd;

namespace {

using Block = std::array<uint8_t, kOemDevModeSize>;

Block Filled(uint8_t v) {
    Block b;
    b.fill(v);
    return b;
}

ByteView View(Block& b) {
    return ByteView(b.data(), b.size());
}

// The fields DEFAULT and the reset of CONVERT/MERGE write, as (offset, width).
const std::vector<std::pair<size_t, size_t>> kResetFields = {
    {12, 4},  {16, 2},  {50, 2},  {60, 4},   {68, 4},   {72, 2},   {80, 2},   {88, 1},
    {343, 1}, {600, 4}, {604, 4}, {2560, 1}, {2564, 4}, {2568, 1}, {2569, 1}, {3596, 4}};

} // namespace

// The persisted layout: every offset pinned at compile time.
static_assert(kOemDevModeSize == 3604);
static_assert(dm::kJobName == 16 && dm::kJobPassword == 50 && dm::kAskJobName == 60);
static_assert(dm::kWatermarkIndex == 68 && dm::kOverlays == 72 && dm::kColorWord == 80);
static_assert(dm::kForeignCleared == 84 && dm::kColorData1Count == 88 && dm::kColorData1 == 90 &&
              dm::kColorData2Count == 343 && dm::kColorData2 == 345);
static_assert(dm::kColorData1 + dm::kColorData1Size == dm::kColorData2Count);
static_assert(dm::kColorData2 + dm::kColorData2Size == dm::kColorSetting);
static_assert(dm::kColorSetting == 600 && dm::kReserved604 == 604 && dm::kWmSize == 608);
static_assert(dm::kWmFontNumber == 612 && dm::kWmAngle == 616 && dm::kWmOffsetX == 620 &&
              dm::kWmOffsetY == 624 && dm::kWmColor == 628);
static_assert(dm::kWmPsFontName == 894 && dm::kWmPsFontName + 2 * 33 == dm::kWmWeight);
static_assert(dm::kWmWeight == 960 && dm::kWmItalic == 964 && dm::kWmCharSet == 965 &&
              dm::kWmPosition == 966 && dm::kWmFrame == 968 && dm::kWmBackground == 970 &&
              dm::kWmFirstPageOnly == 972 && dm::kWmStyle == 974 && dm::kWmColorText == 976);
static_assert(dm::kReservedText == 992 && dm::kReservedText + 2 * 522 == dm::kCapabilityPath);
static_assert(dm::kCapabilityPath == 2036 &&
              dm::kCapabilityPath + 2 * 261 == dm::kCompressionLevel);
static_assert(dm::kCompressionLevel == 2558 && dm::kPagesPerSheetSel == 2560 &&
              dm::kPaperSize == 2564 && dm::kLayoutKey == 2568 && dm::kOrientationSel == 2569 &&
              dm::kWmText == 2570);
static_assert(dm::kWmText + 2 * 129 == 2828 && dm::kReserved3596 == 3596);

TEST(DevModeCompression, SecondHexDigitMapsToLevel) {
    EXPECT_EQ(CompressionLevelFromModelValue(0x0501), 2);
    EXPECT_EQ(CompressionLevelFromModelValue(0x0000), 0);
    EXPECT_EQ(CompressionLevelFromModelValue(0x0901), 3);
    const int table[10] = {0, 1, 1, 1, 2, 2, 2, 3, 3, 3};
    for (int d = 0; d < 10; ++d)
        EXPECT_EQ(CompressionLevelFromModelValue(d << 8), table[d]) << d;
    for (int d = 10; d < 16; ++d)
        EXPECT_EQ(CompressionLevelFromModelValue(d << 8), 3) << d;
    EXPECT_EQ(CompressionLevelFromModelValue(-1), 3);
    EXPECT_EQ(CompressionLevelFromModelValue(0x7F0001), 0); // only bits 8..11 count
}

TEST(DevModeDefault, OnFilledBufferWritesOnlyTheListedFields) {
    Block b = Filled(0xFF);
    DefaultDevMode(View(b), u"C:\\d\\3\\zd.cap", 2);
    ByteView v = View(b);
    EXPECT_EQ(v.u32(0), 3604u);
    EXPECT_EQ(v.u32(4), 0x32303030u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b.data() + 4), 4), "0002");
    EXPECT_EQ(v.u32(8), 1u);
    EXPECT_EQ(v.i32(12), 0);
    EXPECT_EQ(v.u16(16), 0);
    EXPECT_EQ(v.u16(50), 0);
    EXPECT_EQ(v.u32(60), 0u);
    EXPECT_EQ(v.u32(68), 0u);
    EXPECT_EQ(v.u16(72), 255);
    EXPECT_EQ(v.u16(74), 0xFFFF); // the other overlay entries keep the host's bytes
    EXPECT_EQ(v.u16(80), 0);
    EXPECT_EQ(v.u8(88), 0);
    EXPECT_EQ(v.u8(89), 0xFF); // high byte of the count is not written
    EXPECT_EQ(v.u8(343), 0);
    EXPECT_EQ(v.u32(600), 0u);
    EXPECT_EQ(v.u32(604), 1u);
    EXPECT_EQ(v.u16(992), 0);
    EXPECT_EQ(v.text16(2036, 261), u"C:\\d\\3\\zd.cap");
    EXPECT_EQ(v.u16(2558), 2);
    EXPECT_EQ(v.u8(2560), 0);
    EXPECT_EQ(v.u32(2564), 0u);
    EXPECT_EQ(v.u8(2568), 0);
    EXPECT_EQ(v.u8(2569), 0);
    EXPECT_EQ(v.u32(3596), 0u);
    for (size_t i = 18; i < 50; ++i)
        ASSERT_EQ(b[i], 0xFF) << i;
    for (size_t i = 74; i < 80; ++i)
        ASSERT_EQ(b[i], 0xFF) << i;
    for (size_t i = 608; i < 992; ++i)
        ASSERT_EQ(b[i], 0xFF) << i;
    for (size_t i = 2828; i < 3596; ++i)
        ASSERT_EQ(b[i], 0xFF) << i;
}

TEST(DevModeDefault, LongCapabilityPathIsCutToItsField) {
    Block b = Filled(0xAB);
    std::u16string longPath(400, u'x');
    DefaultDevMode(View(b), longPath, 0);
    EXPECT_EQ(View(b).text16(2036, 261), longPath.substr(0, 260));
    EXPECT_EQ(View(b).u16(2036 + 2 * 260), 0);
    EXPECT_EQ(View(b).u16(2558), 0); // the compression level after the field is intact
}

TEST(DevModeMerge, ValueAt12AboveHundredIsCleared) {
    for (int32_t value : {150, -5, 100, 101, 0}) {
        Block in = Filled(0);
        DefaultDevMode(View(in), u"", 0);
        View(in).set_u32(12, uint32_t(value));
        Block out = Filled(0x11);
        DefaultDevMode(View(out), u"", 0);
        MergeDevMode(View(in), View(out));
        EXPECT_EQ(View(out).i32(12), value > 100 ? 0 : value) << value;
        EXPECT_EQ(View(out).u32(4), kOemSignature);
    }
}

TEST(DevModeConvert, ShortMatchingBlockCopiesItsBytesOnly) {
    std::vector<uint8_t> in(1000, 0x5A);
    ByteView iv(in.data(), in.size());
    iv.set_u32(0, 1000);
    iv.set_u32(4, kOemSignature);
    iv.set_u32(8, 7);
    Block out = Filled(0x33);
    DefaultDevMode(View(out), u"P", 1);
    ConvertDevMode(iv, View(out));
    ByteView ov = View(out);
    EXPECT_EQ(ov.u32(0), 3604u);
    EXPECT_EQ(ov.u32(8), 1u);
    for (size_t i = 12; i < 1000; ++i)
        ASSERT_EQ(out[i], 0x5A) << i;
    // Beyond the copied bytes the reset values and the old bytes remain.
    EXPECT_EQ(ov.u8(2560), 0);
    EXPECT_EQ(ov.u32(3596), 0u);
    EXPECT_EQ(ov.u32(604), 0x5A5A5A5Au); // 604 lies inside the copied range
    EXPECT_EQ(ov.text16(2036, 261), u"P");
    EXPECT_EQ(ov.u16(2558), 1);
}

TEST(DevModeConvert, ForeignBlockKeepsUnresetFieldsAndClears84) {
    Block in = Filled(0x77);
    View(in).set_u32(4, 0x31303030); // "0001"
    Block out = Filled(0x44);
    DefaultDevMode(View(out), u"C:\\x.cap", 3);
    View(out).set_text16(992, 522, u"kept");
    View(out).set_u32(84, 0xDEADBEEF);
    ConvertDevMode(View(in), View(out));
    ByteView ov = View(out);
    EXPECT_EQ(ov.u32(4), kOemSignature);
    EXPECT_EQ(ov.u32(84), 0u);
    EXPECT_EQ(ov.text16(992, 522), u"kept");
    EXPECT_EQ(ov.text16(2036, 261), u"C:\\x.cap");
    EXPECT_EQ(ov.u16(2558), 3);
    EXPECT_EQ(ov.u16(72), 255);
    EXPECT_EQ(ov.u8(608), 0x44); // watermark description untouched
}

TEST(DevModeConvert, AbsentBlocksWriteNothing) {
    Block out = Filled(0x12);
    ConvertDevMode(ByteView(nullptr, 0), View(out));
    MergeDevMode(ByteView(nullptr, 0), View(out));
    for (uint8_t c : out)
        ASSERT_EQ(c, 0x12);
    Block in = Filled(0);
    ConvertDevMode(View(in), ByteView(nullptr, 0)); // must not crash
}

TEST(DevModeConvert, OversizedDeclarationsStayInsideBothBuffers) {
    // An incoming block that claims 0xFFFFFFFF bytes but holds 40, into an
    // outgoing block that claims the same: the copy is bounded by the views.
    std::vector<uint8_t> in(40, 0x66);
    ByteView iv(in.data(), in.size());
    iv.set_u32(0, 0xFFFFFFFF);
    iv.set_u32(4, kOemSignature);
    Block out = Filled(0x10);
    View(out).set_u32(0, 0xFFFFFFFF);
    View(out).set_u32(4, kOemSignature);
    ConvertDevMode(iv, View(out));
    EXPECT_EQ(View(out).u32(0), 3604u);
    EXPECT_EQ(out[39], 0x66);
    EXPECT_EQ(out[40], 0x10);
}

TEST(DevModeReset, ListedFieldsOnly) {
    Block b = Filled(0xEE);
    ResetDevModeFields(View(b));
    Block expect = Filled(0xEE);
    for (auto [off, width] : kResetFields)
        for (size_t i = 0; i < width; ++i)
            expect[off + i] = b[off + i];
    EXPECT_EQ(b, expect); // nothing outside the listed fields changed
    EXPECT_EQ(View(b).u16(72), 255);
    EXPECT_EQ(View(b).u32(604), 1u);
}
