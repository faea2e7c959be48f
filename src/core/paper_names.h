// The list of paper names to hide from the driver's form item.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zd {

constexpr size_t kMaxHiddenPaperNames = 12;
constexpr size_t kMaxPaperNameUnits = 63;

// Splits a comma-separated list into at most 12 names of at most 63 units
// each (longer names are cut); text after the twelfth name is ignored and
// empty names are kept. An empty list has no names.
std::vector<std::u16string> SplitHiddenPaperNames(std::u16string_view list);

} // namespace zd
