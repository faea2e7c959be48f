#include "color/swatch_tool_path.h"

namespace zd {

std::u16string_view TerminatedText(const char16_t* units, size_t count) {
    if (!units)
        return {};
    std::u16string_view text(units, count);
    return text.substr(0, text.find(u'\0'));
}

std::optional<std::u16string> SwatchToolPath(std::u16string_view folder, size_t capacityUnits) {
    if (folder.empty() || folder.size() + kSwatchProgram.size() + 1 > capacityUnits)
        return std::nullopt;
    std::u16string path(folder);
    path += kSwatchProgram;
    return path;
}

} // namespace zd
