// The typing rule of numeric edit fields: which typed characters are kept
// and which value a kept text is pulled back to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zd {

// Whether the character just typed (the one before `selStart`) is kept in
// `text`. A selection start of 0 never reaches this rule.
bool NumberFieldAccepts(std::u16string_view text, size_t selStart, bool isSigned);

// Decimal value of a text with an optional leading sign; digits stop at the
// first non-digit; the value saturates at the 32-bit limits.
int32_t ParseDecimalSaturating(std::u16string_view text);

// The value to write back when the text lies outside lowest..highest.
std::optional<int32_t> NumberFieldCorrection(std::u16string_view text, int32_t lowest,
                                             int32_t highest);

// The copies and scale fields of the Job Options page keep only the digits
// of what is typed. `value` is the number they spell (0 for none),
// saturating at kDigitEntryMax and then held at `cap` when one is given.
constexpr uint32_t kDigitEntryMax = 0x7FFFFFFF; // the largest spinner position
struct DigitEntry {
    uint32_t value = 0;
    bool hadNonDigit = false; // the field must be rewritten from `value`
    bool capped = false;      // the value was above `cap`
};
DigitEntry FilterDigitEntry(std::u16string_view text, std::optional<uint32_t> cap);

// A field read when the page is left: one or more digits and nothing else,
// within 32 bits; otherwise no number.
std::optional<uint32_t> ParseUnsignedField(std::u16string_view text);

} // namespace zd
