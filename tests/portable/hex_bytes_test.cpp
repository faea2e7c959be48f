#include "color/hex_bytes.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace zd;

namespace {

struct Decoded {
    HexDecodeResult r;
    std::array<uint8_t, 8> bytes;
};

Decoded Decode(std::u16string_view text, size_t capacity = 6) {
    Decoded d;
    d.bytes.fill(0xEE);
    d.r = DecodeHexBytes(text, d.bytes.data(), capacity);
    return d;
}

} // namespace

TEST(HexBytes, DecodesPairsHighNibbleFirstInEitherCase) {
    Decoded d = Decode(u"0A1b");
    EXPECT_EQ(d.r.count, 2u);
    EXPECT_FALSE(d.r.error);
    EXPECT_EQ(d.bytes[0], 0x0A);
    EXPECT_EQ(d.bytes[1], 0x1B);
    EXPECT_EQ(d.bytes[2], 0xEE);
    Decoded all = Decode(u"fF09aA");
    EXPECT_EQ(all.r.count, 3u);
    EXPECT_EQ(all.bytes[0], 0xFF);
    EXPECT_EQ(all.bytes[1], 0x09);
    EXPECT_EQ(all.bytes[2], 0xAA);
}

TEST(HexBytes, AnOddDigitIsWrittenButNotCounted) {
    Decoded d = Decode(u"ABC");
    EXPECT_EQ(d.r.count, 1u);
    EXPECT_EQ(d.r.written, 2u);
    EXPECT_FALSE(d.r.error);
    EXPECT_EQ(d.bytes[0], 0xAB);
    EXPECT_EQ(d.bytes[1], 0xC0);
    EXPECT_EQ(d.bytes[2], 0xEE);
}

TEST(HexBytes, BadCharacters) {
    // A bad first digit ends the decoding.
    Decoded first = Decode(u"12G456");
    EXPECT_EQ(first.r.count, 1u);
    EXPECT_TRUE(first.r.error);
    EXPECT_EQ(first.bytes[1], 0xEE);
    // A bad second digit keeps the high nibble, counts the byte and goes on.
    Decoded second = Decode(u"1Z34");
    EXPECT_EQ(second.r.count, 2u);
    EXPECT_TRUE(second.r.error);
    EXPECT_EQ(second.bytes[0], 0x10);
    EXPECT_EQ(second.bytes[1], 0x34);
    Decoded empty = Decode(u"");
    EXPECT_EQ(empty.r.count, 0u);
    EXPECT_FALSE(empty.r.error);
    EXPECT_EQ(empty.bytes[0], 0xEE);
}

TEST(HexBytes, NeverWritesPastTheBlock) {
    Decoded d = Decode(u"0102030405060708", 3);
    EXPECT_EQ(d.r.count, 3u);
    EXPECT_TRUE(d.r.cut);
    EXPECT_EQ(d.bytes[2], 0x03);
    EXPECT_EQ(d.bytes[3], 0xEE);
    // Exactly full is not cut.
    Decoded full = Decode(u"010203", 3);
    EXPECT_EQ(full.r.count, 3u);
    EXPECT_FALSE(full.r.cut);
    // The blocks of the private DEVMODE: 253 and 255 bytes.
    std::u16string text;
    for (int i = 0; i < 300; ++i)
        text += u"5a";
    std::array<uint8_t, 256> block;
    block.fill(0);
    HexDecodeResult r = DecodeHexBytes(text, block.data(), 253);
    EXPECT_EQ(r.count, 253u);
    EXPECT_EQ(block[252], 0x5A);
    EXPECT_EQ(block[253], 0);
    EXPECT_EQ(DecodeHexBytes(text, nullptr, 10).count, 0u);
}
