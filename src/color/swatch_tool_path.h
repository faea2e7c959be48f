// Where the printer maker's colour swatch tool is: the folder that its
// registry value "install" names, with the program's name appended.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zd {

constexpr size_t kSwatchValueBytes = 2048; // the value is read into this much
constexpr size_t kSwatchPathUnits = kSwatchValueBytes / sizeof(char16_t);
constexpr std::u16string_view kSwatchProgram = u"\\swatch.exe";

// The text of a string value as read: up to its first NUL, or all `count`
// units when the value was stored without one.
std::u16string_view TerminatedText(const char16_t* units, size_t count);

// The folder followed by "\swatch.exe". Nothing when the folder is empty or
// the path with its terminator needs more than `capacityUnits`: a path that
// does not fit is a tool that cannot be found.
std::optional<std::u16string> SwatchToolPath(std::u16string_view folder,
                                             size_t capacityUnits = kSwatchPathUnits);

} // namespace zd
