// Hexadecimal data texts of the colour setting store.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zd {

struct HexDecodeResult {
    size_t count;   // bytes completed, including those with a bad second digit
    size_t written; // bytes written: count, plus a trailing half byte
    bool error;     // a character that is not a hexadecimal digit was met
    bool cut;       // the text held more bytes than `capacity`; the rest was dropped
};

// Decodes pairs of hexadecimal digits (high nibble first) into `out`, never
// writing more than `capacity` bytes. A pair cut short by the end of the text
// leaves its high nibble written but not counted; a bad first digit ends the
// decoding, a bad second digit keeps the high nibble and goes on.
HexDecodeResult DecodeHexBytes(std::u16string_view text, uint8_t* out, size_t capacity);

} // namespace zd
