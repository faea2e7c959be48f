// Fixed-size UTF-16 text fields of persisted records and the decimal texts
// of INI values. Portable: no Windows types.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zd {

// Stores `s` in a fixed text field of `units` units, cut and NUL-ended.
void SetFieldText(char16_t* field, size_t units, std::u16string_view s);
// The text of a fixed field up to its NUL (or its whole capacity).
std::u16string FieldText(const char16_t* field, size_t units);

// Decimal text with a leading "-" for negative values.
std::u16string FormatDecimal(int64_t value);

} // namespace zd
