#include "color/photo_details_layout.h"

namespace zd {

PhotoDetailsLayout LayoutForMethod(uint32_t method, uint32_t cmykChoice, uint32_t outputProfile) {
    const bool icc = method == uint32_t(MatchingMethod::IccProfile);
    const bool emulation = method == uint32_t(MatchingMethod::PrinterEmulation);
    const bool link = icc && cmykChoice == uint32_t(CmykChoice::LinkProfile);
    PhotoDetailsLayout l;
    l.profiles = icc || emulation;
    l.cmykProfiles = icc;
    l.simulation = emulation;
    l.arrowRgb = icc;
    l.arrowCmyk = emulation || (icc && cmykChoice == uint32_t(CmykChoice::InputProfile));
    l.arrowDown = emulation;
    l.arrowLink = link;
    l.keepBlackEnabled = l.profiles && !link;
    l.cmykInputEnabled = icc && !link;
    l.cmykLinkEnabled = link;
    l.intentEnabled = l.profiles && outputProfile != 0;
    return l;
}

} // namespace zd
