#include "core/paper_names.h"

namespace zd {

std::vector<std::u16string> SplitHiddenPaperNames(std::u16string_view list) {
    std::vector<std::u16string> names;
    if (list.empty())
        return names;
    size_t start = 0;
    while (names.size() < kMaxHiddenPaperNames) {
        size_t comma = list.find(u',', start);
        std::u16string_view name = list.substr(
            start, comma == std::u16string_view::npos ? std::u16string_view::npos : comma - start);
        names.emplace_back(name.substr(0, kMaxPaperNameUnits));
        if (comma == std::u16string_view::npos)
            break;
        start = comma + 1;
    }
    return names;
}

} // namespace zd
