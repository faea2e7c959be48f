#include "finishing/finishing_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace zd;

namespace {

const char* const kPapers[] = {
    "Letter",  "A4",    "B5",        "A3", "B4",       "Tabloid", "FanFoldGermanLegal",
    "ZDLegal", "Legal", "Executive", "A5", "Postcard", ""};
const uint32_t kPagesPerSheet[] = {0, 1, 2, 3, 4, 5, 6, 7};

// A sheet whose remembered paper and layout match, so that only the class
// rules act.
FinishingInput Settled(const char* paper, uint32_t n, bool portrait, uint32_t binding) {
    FinishingInput in;
    in.paper = paper;
    in.duplex = "DuplexNoTumble";
    in.punchUnit = "Type2";
    in.orientationSel = portrait ? 0 : 1;
    in.pagesPerSheetSel = n;
    in.portrait = portrait;
    in.paperNumber = 9;
    in.rememberedPaper = 9;
    in.rememberedLayoutKey = FinishingLayoutKey(n, in.orientationSel, 2);
    in.hasBinding = in.hasStaple = in.hasPunch = true;
    in.staple = 1;
    in.punch = 1;
    in.binding = binding;
    return in;
}

} // namespace

TEST(FinishingSizeClass, EveryPaperRowAndPagesPerSheetColumn) {
    for (const char* paper : kPapers) {
        std::string p = paper;
        for (uint32_t n : kPagesPerSheet) {
            for (bool portrait : {true, false}) {
                const bool n13 = n == 1 || n == 3;
                int expected = 0;
                if (p == "Letter" || p == "A4")
                    expected = n == 6 ? 4 : 5;
                else if (p == "B5")
                    expected = n == 6 ? 0 : 1;
                else if (p == "A3" || p == "B4")
                    expected = n == 6 ? 4 : (n13 == portrait ? 7 : 6);
                else if (p == "Tabloid" || p == "FanFoldGermanLegal" || p == "ZDLegal" ||
                         p == "Legal" || p == "Executive")
                    expected = n == 6 ? 0 : (n13 == portrait ? 3 : 2);
                EXPECT_EQ(FinishingSizeClass(p, "DuplexTumble", n, portrait), expected)
                    << p << " n=" << n << " portrait=" << portrait;
                int simplex = expected > 3 ? expected - 4 : expected;
                EXPECT_EQ(FinishingSizeClass(p, "None", n, portrait), simplex)
                    << p << " n=" << n << " portrait=" << portrait;
            }
        }
    }
    // Spot values straight from the table.
    EXPECT_EQ(FinishingSizeClass("A3", "", 1, true), 7);
    EXPECT_EQ(FinishingSizeClass("A3", "", 2, true), 6);
    EXPECT_EQ(FinishingSizeClass("B4", "None", 1, true), 3);
    EXPECT_EQ(FinishingSizeClass("Legal", "", 4, false), 3);
    EXPECT_EQ(FinishingSizeClass("a4", "", 1, true), 0); // keywords are case-sensitive
}

TEST(FinishingPunch, FeasibilityByUnitTypePaperAndRule) {
    // Unit types 2 and 4: every listed paper, whatever the layout.
    for (int type : {2, 4}) {
        for (const char* p : {"A3", "A4", "B5", "B4", "Letter", "FanFoldGermanLegal", "ZDLegal",
                              "Legal", "Executive", "Tabloid"})
            EXPECT_TRUE(PunchFeasible(type, p, 1, false, 0)) << type << p;
        EXPECT_FALSE(PunchFeasible(type, "A5", 1, true, 2));
        EXPECT_FALSE(PunchFeasible(type, "A4", 6, true, 2)); // never with 6 per sheet
    }
    // Unit type 1.
    for (const char* p : {"A3", "Tabloid", "Letter", "FanFoldGermanLegal", "ZDLegal", "Legal"})
        EXPECT_TRUE(PunchFeasible(1, p, 2, true, 2)) << p;
    EXPECT_FALSE(PunchFeasible(1, "B5", 1, true, 0));
    EXPECT_FALSE(PunchFeasible(1, "Executive", 1, true, 0));
    // Type 3: A3 always, A4 by the rule, nothing else.
    EXPECT_TRUE(PunchFeasible(3, "A3", 2, false, 4));
    EXPECT_FALSE(PunchFeasible(3, "Letter", 1, true, 0));
    // No unit.
    EXPECT_FALSE(PunchFeasible(0, "A3", 1, true, 0));

    // The A4 rule: binding 0/1 wants portrait to agree with "N is 1 or 3";
    // other bindings want exactly one of them.
    for (int type : {1, 3}) {
        for (uint32_t b = 0; b <= 4; ++b) {
            for (uint32_t n : {1u, 2u, 3u, 4u}) {
                for (bool portrait : {true, false}) {
                    const bool n13 = n == 1 || n == 3;
                    const bool expected = (b <= 1) ? (portrait == n13) : (portrait != n13);
                    EXPECT_EQ(PunchFeasible(type, "A4", n, portrait, b), expected)
                        << type << " b=" << b << " n=" << n << " portrait=" << portrait;
                }
            }
        }
    }
}

TEST(FinishingLayoutKey, PagesOrientationAndPunchType) {
    EXPECT_EQ(PunchUnitType("Type1"), 1);
    EXPECT_EQ(PunchUnitType("Type4"), 4);
    EXPECT_EQ(PunchUnitType("Type5"), 0);
    EXPECT_EQ(PunchUnitType("None"), 0);
    EXPECT_EQ(PunchUnitType("type1"), 0);
    EXPECT_EQ(FinishingLayoutKey(1, 0, 0), 0x01);
    EXPECT_EQ(FinishingLayoutKey(1, 1, 0), 0x81);
    EXPECT_EQ(FinishingLayoutKey(1, 2, 0), 0x41);
    EXPECT_EQ(FinishingLayoutKey(1, 3, 0), 0x01);
    EXPECT_EQ(FinishingLayoutKey(6, 1, 3), 0x80 + 6 + 24);
    EXPECT_EQ(FinishingLayoutKey(0x105, 0, 1), 0x05 + 8); // low byte only
}

TEST(FinishingSteps, ChangingThePaperSizeResetsStapleAndPunch) {
    // Two openings of the page: Letter remembered, then A4 chosen.
    FinishingInput in = Settled("A4", 1, true, 0);
    in.punchUnit = "Type2";
    in.paperNumber = 9; // A4
    in.rememberedPaper = 1;
    FinishingResult r = ReconcileFinishing(in);
    EXPECT_TRUE(r.paperChanged);
    EXPECT_EQ(r.rememberedPaper, 9u);
    EXPECT_EQ(r.staple, 0u);
    EXPECT_EQ(r.punch, 0u);
    EXPECT_EQ(r.binding, 2u); // class 5 keeps the reset value

    // The next opening with the same paper keeps what the user chose.
    FinishingInput again = in;
    again.rememberedPaper = r.rememberedPaper;
    again.rememberedLayoutKey = r.rememberedLayoutKey;
    again.staple = 3;
    again.punch = 1;
    again.binding = 1;
    FinishingResult kept = ReconcileFinishing(again);
    EXPECT_FALSE(kept.paperChanged);
    EXPECT_FALSE(kept.layoutChanged);
    EXPECT_EQ(kept.staple, 3u);
    EXPECT_EQ(kept.punch, 1u);
    EXPECT_EQ(kept.binding, 1u);
}

TEST(FinishingSteps, ChangingLayoutOrPunchUnitResetsTheFinishing) {
    FinishingInput in = Settled("Letter", 1, true, 0);
    const uint8_t before = in.rememberedLayoutKey;
    for (int change = 0; change < 3; ++change) {
        FinishingInput c = in;
        if (change == 0)
            c.pagesPerSheetSel = 2;
        else if (change == 1)
            c.orientationSel = 2;
        else
            c.punchUnit = "Type1";
        FinishingResult r = ReconcileFinishing(c);
        EXPECT_TRUE(r.layoutChanged) << change;
        EXPECT_NE(r.rememberedLayoutKey, before) << change;
        EXPECT_EQ(r.staple, 0u) << change;
        EXPECT_EQ(r.punch, 0u) << change;
        EXPECT_EQ(r.binding, 2u) << change;
    }
}

TEST(FinishingSteps, BindingPositionBySizeClass) {
    struct Case {
        const char* paper;
        uint32_t n;
        bool portrait;
        int cls;
        uint32_t from[5]; // binding 0..4 becomes
    };
    const Case cases[] = {
        {"Postcard", 1, true, 0, {2, 2, 2, 2, 2}}, {"Postcard", 6, true, 0, {4, 4, 4, 4, 4}},
        {"A4", 6, true, 4, {4, 4, 4, 4, 4}},       {"B5", 1, true, 1, {0, 1, 2, 3, 2}},
        {"A4", 1, true, 5, {0, 1, 2, 3, 4}},       {"Legal", 2, true, 2, {0, 1, 0, 0, 0}},
        {"A3", 2, true, 6, {0, 1, 0, 0, 4}},       {"Legal", 1, true, 3, {2, 2, 2, 3, 2}},
        {"A3", 1, true, 7, {2, 2, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        for (uint32_t b = 0; b <= 4; ++b) {
            FinishingInput in = Settled(c.paper, c.n, c.portrait, b);
            FinishingResult r = ReconcileFinishing(in);
            ASSERT_EQ(r.sizeClass, c.cls) << c.paper << " n=" << c.n;
            EXPECT_EQ(r.binding, c.from[b]) << c.paper << " n=" << c.n << " b=" << b;
            in.hasBinding = false; // without the item nothing moves
            EXPECT_EQ(ReconcileFinishing(in).binding, b);
        }
    }
}

TEST(FinishingSteps, StapleAndPunchClearedWhereTheyCannotWork) {
    // Class 0: staple and punch off.
    FinishingResult r = ReconcileFinishing(Settled("Postcard", 1, true, 2));
    EXPECT_EQ(r.staple, 0u);
    EXPECT_EQ(r.punch, 0u);
    FinishingInput noItems = Settled("Postcard", 1, true, 2);
    noItems.hasStaple = noItems.hasPunch = false;
    r = ReconcileFinishing(noItems);
    EXPECT_EQ(r.staple, 1u);
    EXPECT_EQ(r.punch, 1u);

    // Binding 4 after the class rule: punch off, staple kept.
    r = ReconcileFinishing(Settled("A4", 6, true, 0)); // class 4 -> binding 4
    EXPECT_EQ(r.binding, 4u);
    EXPECT_EQ(r.staple, 1u);
    EXPECT_EQ(r.punch, 0u);

    // Punch unit type 3 on A4 portrait, 1 per sheet: binding 0 passes the
    // rule, binding 2 fails it.
    FinishingInput a4 = Settled("A4", 1, true, 0);
    a4.punchUnit = "Type3";
    a4.rememberedLayoutKey = FinishingLayoutKey(1, 0, 3);
    r = ReconcileFinishing(a4);
    EXPECT_TRUE(r.punchFeasible);
    EXPECT_EQ(r.punch, 1u);
    a4.binding = 2;
    r = ReconcileFinishing(a4);
    EXPECT_FALSE(r.punchFeasible);
    EXPECT_EQ(r.punch, 0u);
    EXPECT_EQ(r.staple, 1u);

    // No punch unit: punch always off.
    FinishingInput none = Settled("A3", 1, true, 2);
    none.punchUnit = "None";
    none.rememberedLayoutKey = FinishingLayoutKey(1, 0, 0);
    r = ReconcileFinishing(none);
    EXPECT_FALSE(r.layoutChanged);
    EXPECT_EQ(r.punch, 0u);
    EXPECT_EQ(r.staple, 1u);
}

TEST(FinishingSteps, LandscapeAndPagesPerSheetAcrossPapers) {
    // A3 landscape 2 per sheet is class 7: binding 0 becomes 2, punch kept
    // for a type 2 unit.
    FinishingResult r = ReconcileFinishing(Settled("A3", 2, false, 0));
    EXPECT_EQ(r.sizeClass, 7);
    EXPECT_EQ(r.binding, 2u);
    EXPECT_EQ(r.punch, 1u);
    // Without duplex the same sheet is class 3.
    FinishingInput simplex = Settled("A3", 2, false, 4);
    simplex.duplex = "None";
    r = ReconcileFinishing(simplex);
    EXPECT_EQ(r.sizeClass, 3);
    EXPECT_EQ(r.binding, 2u);
    // Tabloid landscape 1 per sheet is class 2: binding 3 becomes 0.
    r = ReconcileFinishing(Settled("Tabloid", 1, false, 3));
    EXPECT_EQ(r.sizeClass, 2);
    EXPECT_EQ(r.binding, 0u);
}

TEST(FinishingOutputBinAndJobType, FinisherAndHardDiskRules) {
    EXPECT_EQ(ReconcileOutputBin(true, 1), 0u);
    EXPECT_EQ(ReconcileOutputBin(true, 2), 2u);
    EXPECT_EQ(ReconcileOutputBin(true, 3), 3u);
    EXPECT_EQ(ReconcileOutputBin(false, 1), 1u);
    EXPECT_EQ(ReconcileOutputBin(false, 2), 0u);
    EXPECT_EQ(ReconcileOutputBin(false, 3), 0u);
    EXPECT_EQ(ReconcileOutputBin(false, 4), 4u);

    JobTypeState s = ReconcileJobType(true, false, 2);
    EXPECT_EQ(s.jobType, 0u);
    EXPECT_TRUE(s.copiesEnabled);
    s = ReconcileJobType(true, true, 2);
    EXPECT_EQ(s.jobType, 2u);
    EXPECT_FALSE(s.copiesEnabled);
    s = ReconcileJobType(false, false, 2);
    EXPECT_EQ(s.jobType, 2u);
}
