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

} // namespace zd
