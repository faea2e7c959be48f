#include "core/byte_view.h"
#include "ui/dib_layout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zd;

namespace {

std::vector<uint8_t> Dib(int w, int h, uint16_t bits, uint32_t used, size_t tableEntries,
                         size_t pixelBytes) {
    std::vector<uint8_t> d(40 + 4 * tableEntries + pixelBytes, 0);
    ByteView v(d.data(), d.size());
    v.set_u32(0, 40);
    v.set_u32(4, uint32_t(w));
    v.set_u32(8, uint32_t(h));
    v.set_u16(12, 1);
    v.set_u16(14, bits);
    v.set_u32(32, used);
    return d;
}

} // namespace

TEST(DibLayout, PaletteSizesFollowColoursUsedAndBitDepth) {
    EXPECT_EQ(DibPaletteEntries(4, 0), 16u);
    EXPECT_EQ(DibPaletteEntries(8, 256), 256u);
    EXPECT_EQ(DibPaletteEntries(8, 0), 256u);
    EXPECT_EQ(DibPaletteEntries(8, 20), 20u);
    EXPECT_EQ(DibPaletteEntries(1, 0), 2u);
    EXPECT_EQ(DibPaletteEntries(24, 0), 0u);

    auto four = Dib(3, 2, 4, 0, 16, 8);
    DibLayout l4 = ReadDibLayout(four.data(), four.size());
    EXPECT_TRUE(l4.valid);
    EXPECT_EQ(l4.paletteEntries, 16u);
    EXPECT_EQ(l4.pixelOffset, 40u + 64u);
    EXPECT_TRUE(l4.pixelsFit);

    auto eight = Dib(180, 117, 8, 256, 256, 180 * 117);
    DibLayout l8 = ReadDibLayout(eight.data(), eight.size());
    EXPECT_EQ(l8.paletteEntries, 256u);
    EXPECT_EQ(l8.pixelOffset, 40u + 1024u);
    EXPECT_EQ(l8.width, 180);
    EXPECT_EQ(l8.height, 117);
    EXPECT_TRUE(l8.pixelsFit);

    auto rgb = Dib(5, 3, 24, 0, 0, 16 * 3);
    DibLayout l24 = ReadDibLayout(rgb.data(), rgb.size());
    EXPECT_TRUE(l24.valid);
    EXPECT_EQ(l24.paletteEntries, 0u);
    EXPECT_EQ(l24.pixelOffset, 40u);
    EXPECT_TRUE(l24.pixelsFit);
}

TEST(DibLayout, RefusesWhatDoesNotFitTheResource) {
    auto shortRows = Dib(180, 117, 8, 256, 256, 180 * 117 - 1);
    DibLayout l = ReadDibLayout(shortRows.data(), shortRows.size());
    EXPECT_TRUE(l.valid);
    EXPECT_FALSE(l.pixelsFit);

    auto bigTable = Dib(2, 2, 8, 5000, 0, 0);
    EXPECT_FALSE(ReadDibLayout(bigTable.data(), bigTable.size()).valid);
    auto shortTable = Dib(2, 2, 8, 0, 10, 0);
    EXPECT_FALSE(ReadDibLayout(shortTable.data(), shortTable.size()).valid);

    auto core = Dib(2, 2, 24, 0, 0, 16);
    core[0] = 12; // the old 12-byte header
    EXPECT_FALSE(ReadDibLayout(core.data(), core.size()).valid);
    auto rle = Dib(2, 2, 8, 0, 256, 16);
    rle[16] = 1; // run-length compressed
    EXPECT_FALSE(ReadDibLayout(rle.data(), rle.size()).valid);
    EXPECT_FALSE(ReadDibLayout(nullptr, 0).valid);
    EXPECT_FALSE(ReadDibLayout(core.data(), 39).valid);

    auto huge = Dib(0x7FFFFFFF, 0x7FFFFFFF, 24, 0, 0, 16);
    EXPECT_FALSE(ReadDibLayout(huge.data(), huge.size()).pixelsFit);
    auto topDown = Dib(4, -2, 24, 0, 0, 24);
    EXPECT_TRUE(ReadDibLayout(topDown.data(), topDown.size()).pixelsFit);
}
