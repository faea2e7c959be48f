#include "color/photo_details_layout.h"

#include <gtest/gtest.h>

#include <string>

using namespace zd;

namespace {

// Shown controls, then enabled ones: profiles, CMYK lists, simulation,
// arrows RGB, CMYK, down, link | keep black, CMYK input, CMYK link, intent.
std::string Look(uint32_t method, uint32_t cmykChoice, uint32_t output) {
    const PhotoDetailsLayout l = LayoutForMethod(method, cmykChoice, output);
    std::string s;
    for (bool b : {l.profiles, l.cmykProfiles, l.simulation, l.arrowRgb, l.arrowCmyk, l.arrowDown,
                   l.arrowLink})
        s += b ? '1' : '0';
    s += '|';
    for (bool b : {l.keepBlackEnabled, l.cmykInputEnabled, l.cmykLinkEnabled, l.intentEnabled})
        s += b ? '1' : '0';
    return s;
}

TEST(PhotoDetailsLayout, EachMethodShowsAndEnablesItsOwnControls) {
    EXPECT_EQ(Look(0, 0, 1), "1101100|1101"); // ICC with the CMYK input profile
    EXPECT_EQ(Look(0, 1, 1), "1101001|0011"); // the link profile replaces input and keep black
    EXPECT_EQ(Look(0, 0, 0), "1101100|1100"); // no output profile, no rendering intent
    EXPECT_EQ(Look(1, 1, 1), "1010110|1001"); // emulation: simulation, no CMYK lists
    // Creating profiles, matching by the application and values past them:
    // nothing below the separator, and nothing hidden is enabled.
    for (uint32_t method : {2u, 3u, 4u, 0xFFFFFFFFu})
        EXPECT_EQ(Look(method, 1, 1), "0000000|0000") << method;
}

} // namespace
