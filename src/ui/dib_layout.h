// Layout of a device-independent bitmap resource with the 40-byte header:
// where its colour table and its pixels lie. Portable.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zd {

constexpr size_t kDibHeaderSize = 40;

struct DibLayout {
    bool valid; // an uncompressed 40-byte header whose colour table fits the data
    int32_t width;
    int32_t height; // as stored: negative for top-down rows
    uint16_t bitsPerPixel;
    uint32_t colorsUsed;
    uint32_t paletteEntries; // colour table entries to build the palette from
    size_t pixelOffset;      // header + 4 bytes per colour table entry
    bool pixelsFit;          // every row of the image lies inside the data
};

// Colour table size: colours used, or 2^bits when 0 (none for 16 bits and more).
uint32_t DibPaletteEntries(uint16_t bitsPerPixel, uint32_t colorsUsed);

DibLayout ReadDibLayout(const uint8_t* data, size_t size);

} // namespace zd
