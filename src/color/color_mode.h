// The five colour modes of the Color page: the option index chosen for the
// printer's "ZDControl" feature, in the order of its PPD options.
#pragma once

#include <cstdint>

namespace zd {

enum class ColorMode : uint32_t {
    Auto = 0,
    OfficeColor = 1,
    AdvancedPhoto = 2,
    NoColorMatching = 3,
    Grayscale = 4,
};

constexpr uint32_t kColorModeCount = 5;

inline bool IsColorMode(uint32_t selection, ColorMode mode) {
    return selection == uint32_t(mode);
}

} // namespace zd
