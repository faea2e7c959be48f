#include "color/hex_bytes.h"

namespace zd {

namespace {

int Nibble(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

} // namespace

HexDecodeResult DecodeHexBytes(std::u16string_view text, uint8_t* out, size_t capacity) {
    HexDecodeResult r{0, 0, false, false};
    if (!out)
        capacity = 0;
    size_t i = 0;
    while (i < text.size()) {
        int high = Nibble(text[i]);
        if (high < 0) {
            r.error = true;
            break;
        }
        // The blocks of the DEVMODE have fixed sizes: a longer text is cut.
        if (r.count >= capacity) {
            r.cut = true;
            break;
        }
        out[r.count] = uint8_t(high << 4);
        r.written = r.count + 1;
        if (i + 1 >= text.size())
            break;
        int low = Nibble(text[i + 1]);
        if (low < 0)
            r.error = true;
        else
            out[r.count] = uint8_t(high << 4 | low);
        ++r.count;
        i += 2;
    }
    return r;
}

} // namespace zd
