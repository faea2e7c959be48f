#include "ui/number_field.h"

#include <limits>

namespace zd {

bool NumberFieldAccepts(std::u16string_view text, size_t selStart, bool isSigned) {
    if (text.empty())
        return true;
    if (selStart == 0 || selStart > text.size())
        return false;
    size_t p = selStart - 1;
    char16_t c = text[p];
    if (c >= u'1' && c <= u'9')
        return true;
    if (c == u'0')
        return text.size() == 1 || p != 0;
    if (isSigned && p == 0 && (c == u'-' || c == u'+')) {
        char16_t next = text.size() > 1 ? text[1] : u'\0';
        return next != u'-' && next != u'+';
    }
    return false;
}

int32_t ParseDecimalSaturating(std::u16string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int64_t value = 0;
    const int64_t limit = negative ? -int64_t(std::numeric_limits<int32_t>::min())
                                   : int64_t(std::numeric_limits<int32_t>::max());
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > limit) {
            value = limit;
            break;
        }
    }
    return int32_t(negative ? -value : value);
}

std::optional<int32_t> NumberFieldCorrection(std::u16string_view text, int32_t lowest,
                                             int32_t highest) {
    int32_t value = ParseDecimalSaturating(text);
    if (value < lowest)
        return lowest;
    if (value > highest)
        return highest;
    return std::nullopt;
}

DigitEntry FilterDigitEntry(std::u16string_view text, std::optional<uint32_t> cap) {
    DigitEntry e;
    uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            e.hadNonDigit = true;
            continue;
        }
        value = value * 10 + uint64_t(c - u'0');
        if (value > kDigitEntryMax)
            value = kDigitEntryMax;
    }
    e.value = uint32_t(value);
    if (cap && e.value > *cap) {
        e.value = *cap;
        e.capped = true;
    }
    return e;
}

std::optional<uint32_t> ParseUnsignedField(std::u16string_view text) {
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + uint64_t(c - u'0');
        if (value > std::numeric_limits<uint32_t>::max())
            return std::nullopt;
    }
    return uint32_t(value);
}

} // namespace zd
