// Rules of the watermark dialogs that need no window: the typed offset and
// number fields, the scroll bars, the font list entry's faces and styles,
// and the font dialog's size and style lists. Portable: no Windows types.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zd {

// Position offsets in points, as the edit dialog's X and Y fields take them.
constexpr int32_t kOffsetLimit = 1000;

// An offset field keeps its decimal digits and a "-" in the first place;
// every other character is dropped. A lone "-" is a number being typed and
// reads 0 without asking for a rewrite.
struct OffsetEntry {
    int32_t value = 0;
    size_t keptLength = 0; // characters kept, where the caret goes after a rewrite
    bool dropped = false;  // a character was dropped: the field must be rewritten
    bool clamped = false;  // the value lay outside -1000..1000
};
OffsetEntry FilterOffsetText(std::u16string_view text);

// A number field read whole: an optional sign (only when `isSigned`) and at
// least one digit, nothing else; saturating at the 32-bit limits.
std::optional<int32_t> ParseNumberField(std::u16string_view text, bool isSigned);

// Scroll codes of the size and angle bars (the platform's values).
enum ScrollCode : int {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbTrack = 5,
    kScrollEnd = 8,
};
constexpr int kSizeMin = 1, kSizeMax = 600;
constexpr int kAngleMin = -180, kAngleMax = 180;

// The bar's position after a scroll code, clamped to lowest..highest.
// `thumb` is the 16-bit thumb position of a drag.
int NextScrollPosition(int current, int code, int16_t thumb, int lowest, int highest);

// The PostScript face and style code a watermark takes from its font list
// entry when the edit dialog is confirmed. Faces are cut to 32 characters.
struct FaceAndStyle {
    std::u16string face;
    uint16_t style = 0;
};
FaceAndStyle FaceAndStyleFor(std::u16string_view fontEntry, int32_t weight, uint8_t italic);

// The Windows face the preview draws with: field 2 of a Japanese entry
// (drawn in the Shift-JIS set), field 5 of any other; cut to `units` - 1.
struct PreviewFace {
    std::u16string face;
    bool japanese = false;
};
PreviewFace PreviewFaceFor(std::u16string_view fontEntry, size_t units);

// The display name: the entry's first field.
std::u16string FontDisplayName(std::u16string_view fontEntry);

// The font dialog's 16 sizes (points); 255 stands for "not in the list".
constexpr int kFontSizeCount = 16;
constexpr uint8_t kNoFontSize = 255;
int32_t FontSizeAt(int index);
uint8_t FontSizeIndex(int32_t size);

// Style list entry 0..3 (regular, italic, bold, bold italic) for the values.
int FontStyleIndex(int32_t weight, uint8_t italic);
int32_t FontStyleWeight(int index);
uint8_t FontStyleItalic(int index);

// A size typed into the font dialog: clamped to 1..600 before it is kept in
// 16 bits; a text that is not a number reads 0.
int32_t TypedFontSize(std::u16string_view text);

} // namespace zd
