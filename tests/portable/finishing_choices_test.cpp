// What the Finishing page offers, against the rules the Job Options page
// reconciles with, and the picture of the sheet.
#include "finishing/finishing_choices.h"
#include "finishing/finishing_rules.h"
#include "finishing/sheet_picture.h"

#include <gtest/gtest.h>

using namespace zd;

namespace {

using R = FinishingRefusal;

FinishingPrinter Printer(const char* paper, const char* punchUnit = "Type2", bool finisher = true) {
    FinishingPrinter p;
    p.finisher = finisher;
    p.punchUnit = punchUnit;
    p.paper = paper;
    p.duplex = "DuplexNoTumble";
    p.hasOutputBin = p.hasStaple = p.hasPunch = p.hasBinding = true;
    return p;
}

} // namespace

TEST(FinishingChoices, HardwareDecidesBinsStaplesAndHoles) {
    FinishingPrinter p = Printer("A4");
    EXPECT_EQ(OutputBinRefusal(p, 1), R::NotWithFinisher);
    EXPECT_EQ(OutputBinRefusal(p, 2), R::None);
    EXPECT_EQ(StapleRefusal(p, 2, binding::Top), R::None);
    p.finisher = false;
    EXPECT_EQ(OutputBinRefusal(p, 1), R::None);
    EXPECT_EQ(OutputBinRefusal(p, 3), R::NeedsFinisher);
    EXPECT_EQ(StapleRefusal(p, 1, binding::Top), R::NeedsFinisher);
    EXPECT_EQ(StapleRefusal(p, 0, binding::Top), R::None);
    EXPECT_FALSE(StapleOffer(p, 3, binding::Top).usable);
    EXPECT_EQ(StapleOffer(p, 3, binding::Top).reason, R::NeedsFinisher);
    p.punchUnit = "None";
    EXPECT_EQ(PunchRefusal(p, 1, binding::Top), R::NeedsPunchUnit);
    EXPECT_EQ(PunchOffer(p, 4, binding::Top).reason, R::NeedsPunchUnit);
}

TEST(FinishingChoices, PaperSizeClassZeroRefusesStaplesHolesAndBindings) {
    const FinishingPrinter p = Printer("Postcard");
    EXPECT_EQ(StapleRefusal(p, 1, binding::Top), R::NotWithPaper);
    EXPECT_EQ(PunchRefusal(p, 1, binding::Top), R::NotWithPaper);
    // Class 0 fixes the binding at the top: one choice, no list.
    EXPECT_EQ(BindingRefusal(p, binding::Top), R::None);
    EXPECT_EQ(BindingRefusal(p, binding::Left), R::NotWithPaper);
    const ListOffer offer = BindingOffer(p, 5);
    EXPECT_FALSE(offer.usable);
    EXPECT_EQ(offer.reason, R::NotWithPaper);
    // Legal in portrait binds on a long edge only.
    const FinishingPrinter legal = Printer("Legal");
    EXPECT_EQ(BindingRefusal(legal, binding::Left), R::None);
    EXPECT_EQ(BindingRefusal(legal, binding::Top), R::NotWithPaper);
    EXPECT_TRUE(BindingOffer(legal, 5).usable);
}

TEST(FinishingChoices, TheBindingPositionDecidesThePunch) {
    // A type 3 unit punches A4 in portrait along the top edge only.
    FinishingPrinter p = Printer("A4", "Type3");
    EXPECT_EQ(PunchRefusal(p, 1, binding::Top), R::None);
    EXPECT_EQ(PunchRefusal(p, 1, binding::Left), R::NotWithBinding);
    EXPECT_EQ(PunchRefusal(p, 1, binding::Centre), R::NotWithBinding);
    EXPECT_EQ(PunchOffer(p, 4, binding::Left).reason, R::NotWithBinding);
    EXPECT_EQ(PunchRefusal(Printer("B5", "Type3"), 1, binding::Top), R::NotWithPaper);

    FinishingSelections s;
    s.punch = 2;
    s.staple = 1;
    s.binding = binding::Left;
    s = SettleFinishing(p, s);
    EXPECT_EQ(s.punch, 0u);
    EXPECT_EQ(s.staple, 1u);
    p.finisher = false;
    s.outputBin = 2;
    s = SettleFinishing(p, s);
    EXPECT_EQ(s.staple, 0u);
    EXPECT_EQ(s.outputBin, 0u);
}

// Whatever the page offers, the Job Options page's reconciliation keeps:
// the two pages never undo each other.
TEST(FinishingChoices, EveryOfferedChoiceSurvivesTheReconciliation) {
    const char* const papers[] = {"Letter", "A4",      "B5",        "A3", "B4",      "Tabloid",
                                  "Legal",  "ZDLegal", "Executive", "A5", "Postcard"};
    const char* const units[] = {"None", "Type1", "Type2", "Type3", "Type4"};
    int offered = 0;
    for (const char* paper : papers)
        for (const char* unit : units)
            for (uint32_t n = 0; n < 8; ++n)
                for (int portrait = 0; portrait < 2; ++portrait)
                    for (uint32_t b = 0; b <= binding::Centre; ++b) {
                        FinishingPrinter p = Printer(paper, unit);
                        p.pagesPerSheetSel = n;
                        p.orientationSel = portrait ? 0 : 1;
                        p.portrait = portrait != 0;
                        if (BindingRefusal(p, b) != R::None)
                            continue;
                        FinishingInput in;
                        in.paper = paper;
                        in.duplex = p.duplex;
                        in.punchUnit = unit;
                        in.pagesPerSheetSel = n;
                        in.orientationSel = p.orientationSel;
                        in.portrait = p.portrait;
                        in.rememberedLayoutKey =
                            FinishingLayoutKey(n, in.orientationSel, PunchUnitType(unit));
                        in.hasBinding = in.hasStaple = in.hasPunch = true;
                        in.binding = b;
                        in.staple = StapleRefusal(p, 1, b) == R::None ? 1 : 0;
                        in.punch = PunchRefusal(p, 1, b) == R::None ? 1 : 0;
                        offered += int(in.punch);
                        const FinishingResult r = ReconcileFinishing(in);
                        ASSERT_EQ(r.binding, b) << paper << " " << unit << " " << n;
                        ASSERT_EQ(r.staple, in.staple) << paper << " " << n;
                        ASSERT_EQ(r.punch, in.punch) << paper << " " << unit << " " << n;
                    }
    EXPECT_GT(offered, 100);
}

namespace {

SheetPictureInput Picture(uint32_t b, uint32_t staple, uint32_t punch, int orientation = 1) {
    SheetPictureInput in;
    in.clientWidth = 120;
    in.clientHeight = 160;
    in.paper = PageSizeFromFormName(u"A4", orientation);
    in.binding = b;
    in.staple = staple;
    in.punch = punch;
    return in;
}

bool Inside(const PictureRect& r, const PictureRect& page) {
    return r.left >= page.left && r.top >= page.top && r.right <= page.right &&
           r.bottom <= page.bottom && r.left < r.right && r.top < r.bottom;
}

int CentreX(const PictureRect& r) {
    return (r.left + r.right) / 2;
}
int CentreY(const PictureRect& r) {
    return (r.top + r.bottom) / 2;
}

} // namespace

TEST(SheetPicture, PageInItsOrientationCentredInTheControl) {
    SheetPicture pic = LayOutSheetPicture(Picture(binding::Top, 0, 0));
    ASSERT_TRUE(pic.valid);
    const PictureRect& p = pic.page;
    EXPECT_LT(p.right - p.left, p.bottom - p.top);
    EXPECT_NEAR(p.left, 120 - p.right, 1); // centred, to the pixel
    EXPECT_GE(p.left, 8);
    EXPECT_GE(p.top, 8);
    EXPECT_TRUE(pic.stapleCount == 0);
    EXPECT_TRUE(pic.holeCount == 0);
    EXPECT_EQ(pic.bindingEdge.top, p.top);
    EXPECT_EQ(pic.bindingEdge.right - pic.bindingEdge.left, p.right - p.left);

    pic = LayOutSheetPicture(Picture(binding::Top, 0, 0, 2));
    EXPECT_GT(pic.page.right - pic.page.left, pic.page.bottom - pic.page.top);
    EXPECT_EQ(LayOutSheetPicture(Picture(binding::Top, 1, 1)).stapleCount, 1u);
    SheetPictureInput tiny = Picture(binding::Top, 1, 1);
    tiny.clientWidth = 20;
    EXPECT_FALSE(LayOutSheetPicture(tiny).valid);
    EXPECT_EQ(LayOutSheetPicture(tiny).stapleCount, 0u);
}

TEST(SheetPicture, OneStapleAtTheCornerOfTheBindingEdge) {
    struct Case {
        uint32_t binding;
        bool right, bottom;
    };
    for (Case c : {Case{binding::Left, false, false}, Case{binding::Right, true, false},
                   Case{binding::Top, false, false}, Case{binding::Bottom, false, true}}) {
        const SheetPicture pic = LayOutSheetPicture(Picture(c.binding, 1, 0));
        ASSERT_EQ(pic.stapleCount, 1u);
        const PictureRect& s = pic.staples[0];
        const PictureRect& p = pic.page;
        EXPECT_TRUE(Inside(s, p));
        const int w = p.right - p.left, h = p.bottom - p.top;
        EXPECT_EQ(CentreX(s) > p.left + 3 * w / 4, c.right) << c.binding;
        EXPECT_EQ(CentreX(s) < p.left + w / 4, !c.right) << c.binding;
        EXPECT_EQ(CentreY(s) > p.top + 3 * h / 4, c.bottom) << c.binding;
        EXPECT_EQ(CentreY(s) < p.top + h / 4, !c.bottom) << c.binding;
    }
    // More staples than two are drawn as two, spread along the edge.
    const SheetPicture two = LayOutSheetPicture(Picture(binding::Left, 7, 0));
    ASSERT_EQ(two.stapleCount, 2u);
    EXPECT_LT(CentreY(two.staples[0]), CentreY(two.staples[1]));
    EXPECT_EQ(two.staples[0].left, two.staples[1].left);
}

TEST(SheetPicture, HolesAlongTheBindingEdgeAndNoneOnTheFold) {
    SheetPicture pic = LayOutSheetPicture(Picture(binding::Left, 1, 2));
    ASSERT_EQ(pic.holeCount, 3u);
    for (uint32_t i = 0; i < pic.holeCount; ++i) {
        EXPECT_TRUE(Inside(pic.holes[i], pic.page));
        EXPECT_LT(CentreX(pic.holes[i]), (pic.page.left + pic.page.right) / 2);
        if (i)
            EXPECT_GT(CentreY(pic.holes[i]), CentreY(pic.holes[i - 1]));
        // Clear of the staple.
        EXPECT_GE(pic.holes[i].left, pic.staples[0].right);
    }
    pic = LayOutSheetPicture(Picture(binding::Bottom, 0, 0xFFFFFFFF));
    ASSERT_EQ(pic.holeCount, 4u);
    EXPECT_GT(CentreY(pic.holes[0]), (pic.page.top + pic.page.bottom) / 2);
    pic = LayOutSheetPicture(Picture(binding::Centre, 2, 1));
    EXPECT_TRUE(pic.holeCount == 0);
    EXPECT_EQ(pic.stapleCount, 2u);
    EXPECT_NEAR(CentreX(pic.bindingEdge), (pic.page.left + pic.page.right) / 2, 2);
}
