#include "ui/dib_layout.h"

#include "core/byte_view.h"

namespace zd {

uint32_t DibPaletteEntries(uint16_t bitsPerPixel, uint32_t colorsUsed) {
    if (colorsUsed != 0)
        return colorsUsed;
    if (bitsPerPixel == 0 || bitsPerPixel > 8)
        return 0;
    return 1u << bitsPerPixel;
}

DibLayout ReadDibLayout(const uint8_t* data, size_t size) {
    DibLayout l{};
    ByteView v(const_cast<uint8_t*>(data), size);
    // Only the plain 40-byte header without compression is drawn.
    if (!v.fits(0, kDibHeaderSize) || v.u32(0) != kDibHeaderSize || v.u32(16) != 0)
        return l;
    l.width = v.i32(4);
    l.height = v.i32(8);
    l.bitsPerPixel = v.u16(14);
    l.colorsUsed = v.u32(32);
    l.paletteEntries = DibPaletteEntries(l.bitsPerPixel, l.colorsUsed);
    uint64_t tableBytes = uint64_t(l.paletteEntries) * 4;
    if (l.paletteEntries > 256 || tableBytes > size - kDibHeaderSize)
        return l;
    l.pixelOffset = kDibHeaderSize + size_t(tableBytes);
    l.valid = true;
    // Rows are padded to 4 bytes; every row must lie inside the resource.
    uint64_t w = l.width < 0 ? 0 : uint64_t(l.width);
    uint64_t h = l.height < 0 ? 0 - uint64_t(int64_t(l.height)) : uint64_t(l.height);
    uint64_t stride = (w * l.bitsPerPixel + 31) / 32 * 4;
    l.pixelsFit =
        l.bitsPerPixel != 0 && w <= 0x8000 && h <= 0x8000 && stride * h <= size - l.pixelOffset;
    return l;
}

} // namespace zd
