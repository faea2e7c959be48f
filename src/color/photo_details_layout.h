// What the advanced photo details dialog shows and enables for a colour
// matching method: the profiles in play and the arrows of the data path
// between them. No window is needed to decide it.
#pragma once

#include <cstdint>

namespace zd {

// Selections of "ZDColorICMS".
enum class MatchingMethod : uint32_t {
    IccProfile = 0,
    PrinterEmulation = 1,
    CreatingProfiles = 2,
    ByApplication = 3,
};

// Selection of "ZDCMYKProfile": which CMYK profile list is in use.
enum class CmykChoice : uint32_t {
    InputProfile = 0,
    LinkProfile = 1,
};

struct PhotoDetailsLayout {
    // Input and output groups, RGB and output profiles, rendering intent,
    // precision, black handling, pure black and keep black.
    bool profiles = false;
    bool cmykProfiles = false; // the CMYK input and link choices and lists
    bool simulation = false;   // the simulation target profile
    // Arrows: RGB to output, CMYK to output, RGB down to the CMYK input,
    // and the long one from the link profile straight to the printer.
    bool arrowRgb = false;
    bool arrowCmyk = false;
    bool arrowDown = false;
    bool arrowLink = false;
    // A link profile replaces the CMYK input profile and keep black. A
    // hidden control is never enabled.
    bool keepBlackEnabled = false;
    bool cmykInputEnabled = false;
    bool cmykLinkEnabled = false;
    // Without an output profile (entry 0) there is no rendering intent.
    bool intentEnabled = false;
};

PhotoDetailsLayout LayoutForMethod(uint32_t method, uint32_t cmykChoice, uint32_t outputProfile);

} // namespace zd
