#include "watermark/watermark_record.h"

#include "core/devmode_record.h"

#include <cstring>

namespace zd {

namespace {

bool IsFieldEnd(char16_t c) {
    return c == u',' || c == u';';
}

// Walks one stored value field by field; after each field the cursor skips
// exactly one character (the separator), never past the end.
class FieldCursor {
  public:
    explicit FieldCursor(std::u16string_view v) : v_(v) {}

    std::u16string_view Raw() {
        size_t start = pos_;
        while (pos_ < v_.size() && !IsFieldEnd(v_[pos_]))
            ++pos_;
        std::u16string_view field = v_.substr(start, pos_ - start);
        Skip();
        return field;
    }

    // Text with backslash escapes, whole.
    std::u16string Unescaped() {
        std::u16string out;
        while (pos_ < v_.size() && !IsFieldEnd(v_[pos_])) {
            char16_t c = v_[pos_++];
            if (c == u'\\') {
                if (pos_ >= v_.size())
                    break;
                c = v_[pos_++];
            }
            out.push_back(c);
        }
        Skip();
        return out;
    }

    // Text with backslash escapes, cut to `units` - 1 characters.
    void Escaped(char16_t* out, size_t units) { SetFieldText(out, units, Unescaped()); }

    // Whether the last field ended at a separator (another field follows).
    bool More() const { return more_; }

  private:
    void Skip() {
        more_ = pos_ < v_.size();
        if (more_)
            ++pos_;
    }
    std::u16string_view v_;
    size_t pos_ = 0;
    bool more_ = false;
};

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

void AppendDecimal(std::u16string& out, int64_t v) {
    out += FormatDecimal(v);
}

// One part of a custom colour value: spaces, an optional sign, digits.
int32_t ParseColorPart(std::u16string_view part) {
    if (part.size() > 256)
        part = part.substr(0, 256);
    size_t i = 0;
    while (i < part.size() && part[i] == u' ')
        ++i;
    bool negative = false;
    if (i < part.size() && (part[i] == u'+' || part[i] == u'-')) {
        negative = part[i] == u'-';
        ++i;
    }
    uint32_t v = 0;
    for (; i < part.size() && part[i] >= u'0' && part[i] <= u'9'; ++i)
        v = v * 10 + uint32_t(part[i] - u'0');
    return int32_t(negative ? 0u - v : v);
}

} // namespace

void CopyWatermark(WatermarkRecord& dst, const WatermarkRecord& src) {
    if (&dst == &src)
        return;
    dst.size = src.size;
    dst.fontNumber = src.fontNumber;
    dst.angle = src.angle;
    dst.x = src.x;
    dst.y = src.y;
    dst.color = src.color;
    SetFieldText(dst.text, kWatermarkTextUnits, FieldText(src.text, kWatermarkTextUnits));
    SetFieldText(dst.face, kWatermarkFaceUnits, FieldText(src.face, kWatermarkFaceUnits));
    dst.weight = src.weight;
    dst.italic = src.italic;
    dst.charSet = src.charSet;
    dst.position = src.position;
    dst.frame = src.frame;
    dst.background = src.background;
    dst.firstPageOnly = src.firstPageOnly;
    dst.style = src.style;
}

void FillNoneDefaults(WatermarkRecord& r, int defaultNo, std::u16string_view noneText,
                      std::u16string_view defaultFace) {
    r = WatermarkRecord{};
    r.size = 72;
    r.fontNumber = defaultNo > 0 ? defaultNo - 1 : 0;
    r.angle = 45;
    r.color = kDefaultWatermarkColor;
    SetFieldText(r.text, kWatermarkTextUnits, noneText);
    SetFieldText(r.face, kWatermarkFaceUnits, defaultFace);
    r.position = 3;
}

std::u16string WatermarkKeyName(uint32_t entryNumber) {
    return u"WTMK00" + FormatDecimal(entryNumber);
}

std::u16string EscapeWatermarkText(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        if (c == u'\\' || c == u',' || c == u';')
            out.push_back(u'\\');
        out.push_back(c);
    }
    return out;
}

std::u16string FormatWatermarkValue(const WatermarkRecord& r) {
    std::u16string v;
    auto num = [&v](int64_t n) {
        AppendDecimal(v, n);
        v.push_back(u',');
    };
    num(r.size);
    num(r.fontNumber);
    num(r.angle);
    num(r.x);
    num(r.y);
    num(r.color);
    v += EscapeWatermarkText(FieldText(r.text, kWatermarkTextUnits));
    v.push_back(u',');
    v += FieldText(r.face, kWatermarkFaceUnits);
    v.push_back(u',');
    num(r.weight);
    num(r.italic);
    num(r.charSet);
    num(r.position);
    num(r.frame);
    num(r.background);
    num(r.firstPageOnly);
    AppendDecimal(v, r.style);
    return v;
}

std::u16string NormalisedWatermarkValue(std::u16string_view value) {
    WatermarkRecord r{};
    ParseWatermarkValue(value, r);
    return FormatWatermarkValue(r);
}

std::vector<std::u16string> WatermarksAddedElsewhere(const std::vector<std::u16string>& read,
                                                     const std::vector<std::u16string>& now,
                                                     const std::vector<std::u16string>& ours,
                                                     size_t room) {
    // Each value of `read` and `ours` accounts for one equal value of `now`.
    std::vector<bool> known(now.size(), false);
    for (const std::vector<std::u16string>* seen : {&read, &ours}) {
        std::vector<bool> used(now.size(), false);
        for (const std::u16string& v : *seen)
            for (size_t i = 0; i < now.size(); ++i)
                if (!used[i] && now[i] == v) {
                    used[i] = known[i] = true;
                    break;
                }
    }
    std::vector<std::u16string> added;
    for (size_t i = 0; i < now.size() && added.size() < room; ++i)
        if (!known[i])
            added.push_back(now[i]);
    return added;
}

int32_t ParseLooseNumber(std::u16string_view field) {
    uint32_t value = 0;
    bool hex = false;
    bool negative = false;
    for (size_t i = 0; i < field.size(); ++i) {
        char16_t c = field[i];
        if (c == u'-') {
            negative = true;
        } else if (!hex && (c == u'x' || c == u'X') && i > 0 && field[i - 1] == u'0') {
            hex = true;
        } else if (hex && HexDigit(c) >= 0) {
            value = value * 16 + uint32_t(HexDigit(c));
        } else if (!hex && c >= u'0' && c <= u'9') {
            value = value * 10 + uint32_t(c - u'0');
        }
    }
    return int32_t(negative ? 0u - value : value);
}

void ParseWatermarkValue(std::u16string_view value, WatermarkRecord& r) {
    FieldCursor cur(value);
    auto num = [&cur]() { return ParseLooseNumber(cur.Raw()); };
    r.size = num();
    r.fontNumber = num();
    r.angle = int16_t(uint16_t(num()));
    r.x = num();
    r.y = num();
    r.color = uint32_t(num());
    cur.Escaped(r.text, kWatermarkTextUnits);
    SetFieldText(r.face, kWatermarkFaceUnits, cur.Raw());
    r.weight = num();
    r.italic = uint8_t(num());
    r.charSet = uint8_t(num());
    r.position = uint8_t(num());
    r.frame = uint8_t(num());
    r.background = uint8_t(num());
    r.firstPageOnly = uint8_t(num());
    r.style = uint8_t(num());
}

std::vector<std::u16string> SplitWatermarkFields(std::u16string_view value) {
    std::vector<std::u16string> fields;
    FieldCursor cur(value);
    do {
        if (fields.size() == kWatermarkTextField)
            fields.push_back(cur.Unescaped());
        else
            fields.emplace_back(cur.Raw());
    } while (cur.More());
    return fields;
}

uint32_t ParseCustomColorValue(std::u16string_view value) {
    int32_t parts[3] = {0, 0, 0};
    size_t start = 0;
    for (int i = 0; i < 3 && start <= value.size(); ++i) {
        size_t comma = value.find(u',', start);
        size_t end = comma == std::u16string_view::npos ? value.size() : comma;
        parts[i] = ParseColorPart(value.substr(start, end - start));
        if (comma == std::u16string_view::npos)
            break;
        start = comma + 1;
    }
    return (uint32_t(parts[0]) & 0xFF) | (uint32_t(parts[1]) & 0xFF) << 8 |
           (uint32_t(parts[2]) & 0xFF) << 16;
}

std::u16string FormatCustomColorValue(uint32_t color) {
    return FormatDecimal(color & 0xFF) + u"," + FormatDecimal(color >> 8 & 0xFF) + u"," +
           FormatDecimal(color >> 16 & 0xFF);
}

std::vector<std::u16string> SplitFontEntry(std::u16string_view value) {
    std::vector<std::u16string> fields;
    if (value.empty())
        return fields;
    size_t start = 0;
    for (size_t i = 0; i <= value.size(); ++i) {
        if (i == value.size() || IsFieldEnd(value[i])) {
            fields.emplace_back(value.substr(start, i - start));
            start = i + 1;
        }
    }
    return fields;
}

bool IsJapaneseFontEntry(const std::vector<std::u16string>& fields) {
    return fields.size() >= 4 && fields[3].size() >= 2 && fields[3][0] == u'\u65E5' &&
           fields[3][1] == u'\u672C';
}

// Each channel as "d.dd", the nearest hundredth of channel / 255. No
// channel value lies halfway between two hundredths (that would need
// 200 * v to be an odd multiple of 255), so rounding half up is exact.
std::array<uint8_t, 16> WatermarkColorText(uint32_t color) {
    std::array<uint8_t, 16> out{};
    size_t at = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t hundredths = ((color >> shift & 0xFF) * 200 + 255) / 510;
        if (shift)
            out[at++] = ' ';
        out[at++] = uint8_t('0' + hundredths / 100);
        out[at++] = '.';
        out[at++] = uint8_t('0' + hundredths / 10 % 10);
        out[at++] = uint8_t('0' + hundredths % 10);
    }
    return out;
}

void WriteWatermarkBlock(ByteView d, uint32_t selected, const WatermarkRecord& r) {
    d.set_u32(dm::kWatermarkIndex, selected);
    d.set_u32(dm::kWmSize, uint32_t(r.size));
    d.set_u32(dm::kWmFontNumber, uint32_t(r.fontNumber));
    d.set_u16(dm::kWmAngle, uint16_t(r.angle));
    d.set_u32(dm::kWmOffsetX, uint32_t(r.x));
    d.set_u32(dm::kWmOffsetY, uint32_t(r.y));
    d.set_u32(dm::kWmColor, r.color);
    d.set_text16(dm::kWmPsFontName, dm::kWmPsFontNameUnits, FieldText(r.face, kWatermarkFaceUnits));
    d.set_u32(dm::kWmWeight, uint32_t(r.weight));
    d.set_u8(dm::kWmItalic, r.italic);
    d.set_u8(dm::kWmCharSet, r.charSet);
    d.set_u16(dm::kWmPosition, r.position);
    d.set_u16(dm::kWmFrame, r.frame);
    d.set_u16(dm::kWmBackground, r.background);
    d.set_u8(dm::kWmFirstPageOnly, r.firstPageOnly);
    d.set_u16(dm::kWmStyle, r.style);
    std::array<uint8_t, 16> colorText = WatermarkColorText(r.color);
    for (size_t i = 0; i < colorText.size(); ++i)
        d.set_u8(dm::kWmColorText + i, colorText[i]);
    d.set_text16(dm::kWmText, dm::kWmTextUnits, FieldText(r.text, kWatermarkTextUnits));
}

} // namespace zd
