#include "watermark/watermark_dialog_rules.h"

#include "ui/number_field.h"
#include "watermark/watermark_record.h"

#include <algorithm>
#include <vector>

namespace zd {

namespace {

constexpr int32_t kBoldWeight = 700;
constexpr int32_t kRegularWeight = 400;
constexpr uint8_t kFontSizes[kFontSizeCount] = {8,  9,  10, 11, 12, 14, 16, 18,
                                                20, 22, 24, 26, 28, 36, 48, 72};

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Field n (1-based) of an entry; empty when the entry has fewer.
std::u16string Field(const std::vector<std::u16string>& fields, size_t n) {
    return n >= 1 && n <= fields.size() ? fields[n - 1] : std::u16string();
}

std::u16string Cut(std::u16string s, size_t units) {
    if (s.size() > units)
        s.resize(units);
    return s;
}

} // namespace

OffsetEntry FilterOffsetText(std::u16string_view text) {
    OffsetEntry e;
    bool negative = false;
    int64_t value = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'-' && i == 0) {
            negative = true;
            ++e.keptLength;
        } else if (IsDigit(c)) {
            value = value * 10 + (c - u'0');
            if (value > int64_t(kOffsetLimit) + 1)
                value = int64_t(kOffsetLimit) + 1; // enough to know it is clamped
            ++e.keptLength;
        } else {
            e.dropped = true;
        }
    }
    if (negative)
        value = -value;
    if (value > kOffsetLimit || value < -kOffsetLimit) {
        e.clamped = true;
        value = value > 0 ? kOffsetLimit : -kOffsetLimit;
    }
    e.value = int32_t(value);
    return e;
}

std::optional<int32_t> ParseNumberField(std::u16string_view text, bool isSigned) {
    size_t sign = isSigned && !text.empty() && (text[0] == u'-' || text[0] == u'+') ? 1 : 0;
    if (text.size() == sign || !std::all_of(text.begin() + sign, text.end(), IsDigit))
        return std::nullopt;
    return ParseDecimalSaturating(text);
}

int NextScrollPosition(int current, int code, int16_t thumb, int lowest, int highest) {
    int64_t p = current;
    switch (code) {
    case kScrollLineUp:
        p -= 1;
        break;
    case kScrollLineDown:
        p += 1;
        break;
    case kScrollPageUp:
        p -= 10;
        break;
    case kScrollPageDown:
        p += 10;
        break;
    case kScrollThumbTrack:
        p = thumb;
        break;
    default:
        break;
    }
    if (p < lowest)
        p = lowest;
    if (p > highest)
        p = highest;
    return int(p);
}

FaceAndStyle FaceAndStyleFor(std::u16string_view fontEntry, int32_t weight, uint8_t italic) {
    const std::vector<std::u16string> fields = SplitFontEntry(fontEntry);
    const bool bold = weight == kBoldWeight;
    FaceAndStyle r;
    if (IsJapaneseFontEntry(fields)) {
        r.face = Field(fields, 3);
        r.style = uint16_t((italic ? 1 : 0) + (bold ? 2 : 0));
    } else {
        r.face = Field(fields, 1 + (italic ? 1 : 0) + (bold ? 2 : 0));
        r.style = italic ? 5 : 0;
    }
    r.face = Cut(std::move(r.face), kWatermarkFaceUnits - 1);
    return r;
}

PreviewFace PreviewFaceFor(std::u16string_view fontEntry, size_t units) {
    const std::vector<std::u16string> fields = SplitFontEntry(fontEntry);
    PreviewFace r;
    r.japanese = IsJapaneseFontEntry(fields);
    r.face = Cut(Field(fields, r.japanese ? 2 : 5), units ? units - 1 : 0);
    return r;
}

std::u16string FontDisplayName(std::u16string_view fontEntry) {
    return Field(SplitFontEntry(fontEntry), 1);
}

int32_t FontSizeAt(int index) {
    return index >= 0 && index < kFontSizeCount ? kFontSizes[index] : kNoFontSize;
}

uint8_t FontSizeIndex(int32_t size) {
    for (int i = 0; i < kFontSizeCount; ++i)
        if (kFontSizes[i] == size)
            return uint8_t(i);
    return kNoFontSize;
}

int FontStyleIndex(int32_t weight, uint8_t italic) {
    return (weight == kBoldWeight ? 2 : 0) + (italic ? 1 : 0);
}

int32_t FontStyleWeight(int index) {
    return index < 2 ? kRegularWeight : kBoldWeight;
}

uint8_t FontStyleItalic(int index) {
    return uint8_t(index & 1);
}

int32_t TypedFontSize(std::u16string_view text) {
    std::optional<int32_t> v = ParseNumberField(text, false);
    if (!v)
        return 0;
    return *v < kSizeMin ? kSizeMin : *v > kSizeMax ? kSizeMax : *v;
}

} // namespace zd
