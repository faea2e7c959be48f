#include "core/text_fields.h"

namespace zd {

void SetFieldText(char16_t* field, size_t units, std::u16string_view s) {
    if (!field || units == 0)
        return;
    size_t n = s.size() < units - 1 ? s.size() : units - 1;
    for (size_t i = 0; i < n; ++i)
        field[i] = s[i];
    field[n] = 0;
}

std::u16string FieldText(const char16_t* field, size_t units) {
    size_t n = 0;
    while (n < units && field[n])
        ++n;
    return std::u16string(field, n);
}

std::u16string FormatDecimal(int64_t value) {
    uint64_t magnitude = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
    char16_t digits[24];
    size_t n = 0;
    do {
        digits[n++] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    std::u16string out;
    if (value < 0)
        out.push_back(u'-');
    while (n)
        out.push_back(digits[--n]);
    return out;
}

} // namespace zd
