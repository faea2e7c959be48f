#include "color/photo_details_layout.h"

#include <gtest/gtest.h>

using namespace zd;

namespace {

struct Shown {
    bool profiles, cmyk, simulation, rgbArrow, cmykArrow, downArrow, linkArrow;
};

Shown ShownOf(const PhotoDetailsLayout& l) {
    return {l.profiles,  l.cmykProfiles, l.simulation, l.arrowRgb,
            l.arrowCmyk, l.arrowDown,    l.arrowLink};
}

bool operator==(const Shown& a, const Shown& b) {
    return a.profiles == b.profiles && a.cmyk == b.cmyk && a.simulation == b.simulation &&
           a.rgbArrow == b.rgbArrow && a.cmykArrow == b.cmykArrow && a.downArrow == b.downArrow &&
           a.linkArrow == b.linkArrow;
}

TEST(PhotoDetailsLayout, EachMethodShowsItsProfilesAndArrows) {
    // ICC with the input profile: RGB and CMYK arrows to the output.
    EXPECT_TRUE(ShownOf(LayoutForMethod(0, 0, 1)) ==
                (Shown{true, true, false, true, true, false, false}));
    // ICC with the link profile: the long arrow replaces the CMYK one.
    EXPECT_TRUE(ShownOf(LayoutForMethod(0, 1, 1)) ==
                (Shown{true, true, false, true, false, false, true}));
    // Emulation: the simulation profile in place of the CMYK controls.
    for (uint32_t choice : {0u, 1u})
        EXPECT_TRUE(ShownOf(LayoutForMethod(1, choice, 1)) ==
                    (Shown{true, false, true, false, true, true, false}));
    // Creating profiles, matching by the application, and values past the
    // four methods: nothing below the separator.
    for (uint32_t method : {2u, 3u, 4u, 0xFFFFFFFFu})
        EXPECT_TRUE(ShownOf(LayoutForMethod(method, 1, 1)) ==
                    (Shown{false, false, false, false, false, false, false}))
            << method;
}

TEST(PhotoDetailsLayout, LinkProfileTakesOverInputAndKeepBlack) {
    PhotoDetailsLayout input = LayoutForMethod(0, 0, 0);
    EXPECT_TRUE(input.cmykInputEnabled && input.keepBlackEnabled);
    EXPECT_FALSE(input.cmykLinkEnabled);
    PhotoDetailsLayout link = LayoutForMethod(0, 1, 0);
    EXPECT_FALSE(link.cmykInputEnabled || link.keepBlackEnabled);
    EXPECT_TRUE(link.cmykLinkEnabled);
    // Emulation keeps black but has no CMYK lists; hidden controls are
    // never enabled.
    PhotoDetailsLayout emulation = LayoutForMethod(1, 1, 0);
    EXPECT_TRUE(emulation.keepBlackEnabled);
    EXPECT_FALSE(emulation.cmykInputEnabled || emulation.cmykLinkEnabled);
    PhotoDetailsLayout hidden = LayoutForMethod(2, 0, 1);
    EXPECT_FALSE(hidden.keepBlackEnabled || hidden.cmykInputEnabled || hidden.intentEnabled);
}

TEST(PhotoDetailsLayout, RenderingIntentNeedsAnOutputProfile) {
    EXPECT_FALSE(LayoutForMethod(0, 0, 0).intentEnabled);
    EXPECT_TRUE(LayoutForMethod(0, 0, 1).intentEnabled);
    EXPECT_TRUE(LayoutForMethod(1, 0, 5).intentEnabled);
}

} // namespace
