#include "devmode_dump.h"

#include "core/devmode_record.h"
#include "jobopts/job_storage_rules.h"

#include <cstdio>

namespace drvhost {

namespace {

using namespace zd;

std::string Utf8(std::u16string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Quoted(std::string s) {
    return "\"" + s + "\"";
}

std::string Hex(uint32_t v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, unsigned(v));
    return buf;
}

} // namespace

std::string HeldJobText(uint32_t word) {
    switch (HeldJobKindOf(word)) {
    case HeldJobKind::Named:
        return "held, name (job type " + std::to_string(HeldJobTypeOf(word)) + ")";
    case HeldJobKind::NamedWithPin:
        return "held, name and PIN (job type " + std::to_string(HeldJobTypeOf(word)) + ")";
    default:
        return "normal";
    }
}

namespace {

enum class Kind { U8, U16, U32, I16, I32, Sig, Text16, Text8, Overlays, Secret, HeldJob };

struct FieldDef {
    size_t offset;
    size_t width;
    Kind kind;
    const char* name;
};

const FieldDef kFields[] = {
    {dm::kSize, 4, Kind::U32, "block size"},
    {dm::kSignature, 4, Kind::Sig, "signature"},
    {dm::kVersion, 4, Kind::U32, "version"},
    {dm::kValue12, 4, Kind::I32, "first own item value"},
    {dm::kJobName, dm::kJobNameUnits * 2, Kind::Text16, "job name"},
    {dm::kJobPassword, dm::kJobPasswordUnits * 2, Kind::Secret, "job password"},
    {dm::kAskJobName, 4, Kind::U32, "ask job name"},
    {dm::kHeldJob, 4, Kind::HeldJob, "held job"},
    {dm::kWatermarkIndex, 4, Kind::U32, "selected watermark"},
    {dm::kOverlays, 8, Kind::Overlays, "overlays"},
    {dm::kColorWord, 2, Kind::U16, "colour word"},
    {dm::kForeignCleared, 4, Kind::U32, "value 84"},
    {dm::kColorData1Count, 2, Kind::U16, "colour data 1 count"},
    {dm::kColorData2Count, 2, Kind::U16, "colour data 2 count"},
    {dm::kColorSetting, 4, Kind::U32, "colour setting word"},
    {dm::kReserved604, 4, Kind::U32, "reserved 604"},
    {dm::kWmSize, 4, Kind::I32, "watermark size"},
    {dm::kWmFontNumber, 4, Kind::I32, "watermark font number"},
    {dm::kWmAngle, 2, Kind::I16, "watermark angle"},
    {dm::kWmOffsetX, 4, Kind::I32, "watermark x offset"},
    {dm::kWmOffsetY, 4, Kind::I32, "watermark y offset"},
    {dm::kWmColor, 4, Kind::U32, "watermark colour"},
    {dm::kWmPsFontName, dm::kWmPsFontNameUnits * 2, Kind::Text16, "watermark PostScript font"},
    {dm::kWmWeight, 4, Kind::I32, "watermark weight"},
    {dm::kWmItalic, 1, Kind::U8, "watermark italic"},
    {dm::kWmCharSet, 1, Kind::U8, "watermark character set"},
    {dm::kWmPosition, 2, Kind::I16, "watermark position"},
    {dm::kWmFrame, 2, Kind::I16, "watermark frame"},
    {dm::kWmBackground, 2, Kind::I16, "watermark as background"},
    {dm::kWmFirstPageOnly, 1, Kind::U8, "watermark first page only"},
    {dm::kWmStyle, 2, Kind::I16, "watermark style"},
    {dm::kWmColorText, dm::kWmColorTextSize, Kind::Text8, "watermark colour text"},
    {dm::kReservedText, dm::kReservedTextUnits * 2, Kind::Text16, "reserved text"},
    {dm::kCapabilityPath, dm::kCapabilityPathUnits * 2, Kind::Text16, "capability file path"},
    {dm::kCompressionLevel, 2, Kind::U16, "compression level"},
    {dm::kPagesPerSheetSel, 1, Kind::U8, "pages per sheet selection"},
    {dm::kPaperSize, 4, Kind::U32, "remembered paper size"},
    {dm::kLayoutKey, 1, Kind::U8, "remembered layout key"},
    {dm::kOrientationSel, 1, Kind::U8, "orientation selection"},
    {dm::kWmText, dm::kWmTextUnits * 2, Kind::Text16, "watermark text"},
    {dm::kReserved3596, 4, Kind::U32, "reserved 3596"},
};

std::string Value(const ByteView& v, const FieldDef& f) {
    switch (f.kind) {
    case Kind::U8:
        return std::to_string(v.u8(f.offset));
    case Kind::U16:
        return std::to_string(v.u16(f.offset)) + " (" + Hex(v.u16(f.offset), 4) + ")";
    case Kind::U32:
        return std::to_string(v.u32(f.offset)) + " (" + Hex(v.u32(f.offset), 8) + ")";
    case Kind::I16:
        return std::to_string(v.i16(f.offset));
    case Kind::I32:
        return std::to_string(v.i32(f.offset));
    case Kind::Sig: {
        std::string s;
        for (size_t i = 0; i < 4; ++i) {
            uint8_t c = v.u8(f.offset + i);
            s += (c >= 0x20 && c < 0x7F) ? char(c) : '.';
        }
        return Quoted(s) + " (" + Hex(v.u32(f.offset), 8) + ")";
    }
    case Kind::Text16:
        return Quoted(Utf8(v.text16(f.offset, f.width / 2)));
    case Kind::Text8: {
        std::string s;
        for (size_t i = 0; i < f.width; ++i) {
            uint8_t c = v.u8(f.offset + i);
            if (c == 0)
                break;
            s += (c >= 0x20 && c < 0x7F) ? char(c) : '.';
        }
        return Quoted(s);
    }
    case Kind::Secret: // its length only, never its digits
        return Quoted(MaskedPin(v.text16(f.offset, f.width / 2).size()));
    case Kind::HeldJob:
        return HeldJobText(v.u32(f.offset));
    case Kind::Overlays: {
        std::string s;
        for (size_t i = 0; i < dm::kOverlayCount; ++i)
            s += (i ? " " : "") + std::to_string(v.u16(f.offset + 2 * i));
        return s;
    }
    }
    return std::string();
}

} // namespace

std::vector<DecodedField> DecodeOemDevMode(const uint8_t* data, size_t size) {
    // The view only reads; ByteView wants a mutable pointer.
    ByteView v(const_cast<uint8_t*>(data), size);
    std::vector<DecodedField> out;
    for (const FieldDef& f : kFields) {
        DecodedField d;
        d.offset = f.offset;
        d.width = f.width;
        d.name = f.name;
        d.value = v.fits(f.offset, f.kind == Kind::Text16 || f.kind == Kind::Text8 ? 1 : f.width)
                      ? Value(v, f)
                      : "(beyond the block)";
        out.push_back(std::move(d));
    }
    return out;
}

std::string FormatFields(const std::vector<DecodedField>& fields) {
    std::string out;
    char head[64];
    for (const DecodedField& f : fields) {
        std::snprintf(head, sizeof head, "%5zu %5zu  ", f.offset, f.width);
        out += head;
        out += f.name;
        out.append(f.name.size() < 28 ? 28 - f.name.size() : 1, ' ');
        out += f.value;
        out += '\n';
    }
    return out;
}

} // namespace drvhost
