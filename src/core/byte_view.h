// Bounds-checked little-endian access to fixed-layout byte records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zd {

// A view over bytes that the caller owns; every access is checked against
// the view's size and an out-of-range access reads 0 or writes nothing.
class ByteView {
  public:
    ByteView(uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

    uint8_t* data() const { return data_; }
    size_t size() const { return size_; }
    bool fits(size_t offset, size_t width) const {
        return offset <= size_ && width <= size_ - offset;
    }

    uint8_t u8(size_t off) const { return fits(off, 1) ? data_[off] : 0; }
    uint16_t u16(size_t off) const {
        return fits(off, 2) ? uint16_t(data_[off] | data_[off + 1] << 8) : 0;
    }
    uint32_t u32(size_t off) const {
        if (!fits(off, 4))
            return 0;
        return uint32_t(data_[off]) | uint32_t(data_[off + 1]) << 8 |
               uint32_t(data_[off + 2]) << 16 | uint32_t(data_[off + 3]) << 24;
    }
    int32_t i32(size_t off) const { return int32_t(u32(off)); }
    int16_t i16(size_t off) const { return int16_t(u16(off)); }

    void set_u8(size_t off, uint8_t v) const {
        if (fits(off, 1))
            data_[off] = v;
    }
    void set_u16(size_t off, uint16_t v) const {
        if (fits(off, 2)) {
            data_[off] = uint8_t(v);
            data_[off + 1] = uint8_t(v >> 8);
        }
    }
    void set_u32(size_t off, uint32_t v) const {
        if (fits(off, 4))
            for (int i = 0; i < 4; ++i)
                data_[off + i] = uint8_t(v >> (8 * i));
    }

    // Reads a NUL-terminated UTF-16 text of at most maxUnits units (the
    // field's capacity); a field without NUL yields its whole capacity.
    std::u16string text16(size_t off, size_t maxUnits) const {
        std::u16string s;
        for (size_t i = 0; i < maxUnits; ++i) {
            uint16_t c = u16(off + 2 * i);
            if (c == 0 || !fits(off + 2 * i, 2))
                break;
            s.push_back(char16_t(c));
        }
        return s;
    }
    // Writes text cut to capacityUnits - 1 units plus NUL. Returns the units written.
    size_t set_text16(size_t off, size_t capacityUnits, std::u16string_view s) const {
        if (capacityUnits == 0)
            return 0;
        size_t n = s.size() < capacityUnits - 1 ? s.size() : capacityUnits - 1;
        for (size_t i = 0; i < n; ++i)
            set_u16(off + 2 * i, uint16_t(s[i]));
        set_u16(off + 2 * n, 0);
        return n;
    }

  private:
    uint8_t* data_;
    size_t size_;
};

} // namespace zd
