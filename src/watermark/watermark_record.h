// The watermark record and its persisted texts: the list value stored per
// watermark in the configuration file, the custom colour values and the
// fields of a font list entry. Portable: no Windows types.
#pragma once

#include "core/byte_view.h"
#include "core/text_fields.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zd {

constexpr size_t kWatermarkTextUnits = 129; // 128 characters + NUL
constexpr size_t kWatermarkFaceUnits = 33;  // 32 characters + NUL
constexpr uint32_t kMaxStoredWatermarks = 16;
constexpr int kCustomColorCount = 16;
constexpr uint32_t kDefaultWatermarkColor = 0x00C0C0C0;

// One watermark; zero-filled when created. Colour is 0x00BBGGRR.
struct WatermarkRecord {
    int32_t size;
    int32_t fontNumber;
    int16_t angle;
    int32_t x;
    int32_t y;
    uint32_t color;
    char16_t text[kWatermarkTextUnits];
    char16_t face[kWatermarkFaceUnits];
    int32_t weight;
    uint8_t italic;
    uint8_t charSet;
    uint16_t position;
    uint16_t frame;
    uint16_t background;
    uint8_t firstPageOnly;
    uint16_t style;
};

// Copies every field; the two texts up to their NUL.
void CopyWatermark(WatermarkRecord& dst, const WatermarkRecord& src);

// Defaults of the "none" entry: `noneText` and `defaultFace` come from the
// string table, `defaultNo` is the font list's 1-based default (0 = first).
void FillNoneDefaults(WatermarkRecord& r, int defaultNo, std::u16string_view noneText,
                      std::u16string_view defaultFace);

// Key of stored entry n (1-based): "WTMK00" + n, so WTMK001 and WTMK0010.
std::u16string WatermarkKeyName(uint32_t entryNumber);

// A backslash before every backslash, comma and semicolon.
std::u16string EscapeWatermarkText(std::u16string_view text);

// The 16 comma-separated fields of one stored watermark.
std::u16string FormatWatermarkValue(const WatermarkRecord& r);

// Reads a stored value into `r` (every field is written; missing fields read
// 0 or empty, over-long texts are cut to their fields).
void ParseWatermarkValue(std::u16string_view value, WatermarkRecord& r);

// A stored value as this library would write it again, so that two values
// compare equal when they describe the same watermark.
std::u16string NormalisedWatermarkValue(std::u16string_view value);

// Two sheets of one printer: the stored watermarks that are now in the file
// (`now`) but were neither in it when this sheet read it (`read`) nor are in
// this sheet's list (`ours`) were added elsewhere. They are kept in file
// order, each as often as it was added, at most `room` of them. Values are
// compared as given (normalise them first).
std::vector<std::u16string> WatermarksAddedElsewhere(const std::vector<std::u16string>& read,
                                                     const std::vector<std::u16string>& now,
                                                     const std::vector<std::u16string>& ours,
                                                     size_t room);

// The fields of a stored value as ParseWatermarkValue walks them, however
// many there are; the text field unescaped and not cut. The model-file
// checker compares them with what the record can hold.
constexpr size_t kWatermarkFieldCount = 16;
constexpr size_t kWatermarkTextField = 6;
constexpr size_t kWatermarkFaceField = 7;
std::vector<std::u16string> SplitWatermarkFields(std::u16string_view value);

// One numeric field as the reader sees it: decimal digits, "0x" switching to
// hexadecimal, other characters skipped, a "-" anywhere makes it negative.
int32_t ParseLooseNumber(std::u16string_view field);

// Custom colour "r,g,b" (decimal, spaces before each number allowed) as
// 0x00BBGGRR; missing parts read 0.
uint32_t ParseCustomColorValue(std::u16string_view value);
std::u16string FormatCustomColorValue(uint32_t color);

// The fields of a font list entry, split at commas and semicolons.
std::vector<std::u16string> SplitFontEntry(std::u16string_view value);
// Japanese entries carry a fourth field beginning with 日本.
bool IsJapaneseFontEntry(const std::vector<std::u16string>& fields);

// "%1.2f %1.2f %1.2f" of red, green and blue / 255, zero-padded to 16 bytes.
std::array<uint8_t, 16> WatermarkColorText(uint32_t color);

// Writes the watermark block of the private DEVMODE from `r` with the
// selection number at offset 68; only the bytes of the block are touched.
void WriteWatermarkBlock(ByteView devmode, uint32_t selected, const WatermarkRecord& r);

} // namespace zd
