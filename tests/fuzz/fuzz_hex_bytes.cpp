// The colour store's hexadecimal decoder over random texts and capacities:
// it never writes past its capacity and decodes every good pair.
#include "color/hex_bytes.h"
#include "fuzz_input.h"

#include <vector>

using namespace zd;

namespace {

int Nibble(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zdfuzz::Input f(data, size);
    const size_t capacity = f.take<uint8_t>();
    const std::u16string text = f.rest16();

    // Exactly `capacity` bytes on the heap: the sanitizer sees any overrun.
    std::vector<uint8_t> out(capacity, 0xEE);
    const HexDecodeResult r = DecodeHexBytes(text, out.data(), out.size());
    ZD_FUZZ_CHECK(r.written <= capacity);
    ZD_FUZZ_CHECK(r.count <= r.written && r.written <= r.count + 1);
    ZD_FUZZ_CHECK(r.count * 2 <= text.size());
    for (size_t i = 0; i < r.written; ++i) {
        const int high = Nibble(text[2 * i]);
        ZD_FUZZ_CHECK(high >= 0);
        const int low = 2 * i + 1 < text.size() ? Nibble(text[2 * i + 1]) : -1;
        ZD_FUZZ_CHECK(out[i] == uint8_t(low >= 0 ? (high << 4 | low) : high << 4));
        if (low < 0 && i < r.count)
            ZD_FUZZ_CHECK(r.error);
    }
    for (size_t i = r.written; i < capacity; ++i)
        ZD_FUZZ_CHECK(out[i] == 0xEE); // nothing written beyond what is reported
    bool allHex = true;
    for (char16_t c : text)
        allHex = allHex && Nibble(c) >= 0;
    if (allHex && text.size() <= 2 * capacity) {
        ZD_FUZZ_CHECK(!r.error && !r.cut);
        ZD_FUZZ_CHECK(r.count == text.size() / 2 && r.written == (text.size() + 1) / 2);
    }
    if (text.size() > 2 * capacity + 1 && !r.error)
        ZD_FUZZ_CHECK(r.cut);
    DecodeHexBytes(text, nullptr, 16); // no buffer: nothing written
    return 0;
}
