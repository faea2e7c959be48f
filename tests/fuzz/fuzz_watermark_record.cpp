// The stored watermark reader over random values: it stays inside the
// record's fields, and what it reads is written back and read the same.
#include "fuzz_input.h"
#include "watermark/watermark_record.h"

#include <cstring>

using namespace zd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zdfuzz::Input f(data, size);
    const std::u16string value = f.rest16();

    WatermarkRecord r;
    std::memset(&r, 0xA5, sizeof r); // the reader must write every field
    ParseWatermarkValue(value, r);
    ZD_FUZZ_CHECK(FieldText(r.text, kWatermarkTextUnits).size() < kWatermarkTextUnits);
    ZD_FUZZ_CHECK(FieldText(r.face, kWatermarkFaceUnits).size() < kWatermarkFaceUnits);
    ZD_FUZZ_CHECK(r.position <= 0xFF && r.frame <= 0xFF && r.background <= 0xFF && r.style <= 0xFF);

    const std::u16string once = FormatWatermarkValue(r);
    WatermarkRecord back;
    std::memset(&back, 0x5A, sizeof back);
    ParseWatermarkValue(once, back);
    ZD_FUZZ_CHECK(FormatWatermarkValue(back) == once);
    ZD_FUZZ_CHECK(back.size == r.size && back.angle == r.angle && back.x == r.x && back.y == r.y &&
                  back.color == r.color && back.weight == r.weight);

    // The numeric fields: "-" anywhere negates, so a field and its negation
    // read as opposites (modulo 2^32).
    const std::u16string field = value.substr(0, 40);
    if (field.find(u'-') == std::u16string::npos && field.find(u',') == std::u16string::npos &&
        field.find(u';') == std::u16string::npos)
        ZD_FUZZ_CHECK(uint32_t(ParseLooseNumber(u"-" + field)) ==
                      0u - uint32_t(ParseLooseNumber(field)));
    return 0;
}
