#include "finishing/finishing_rules.h"

#include <initializer_list>

namespace zd {

namespace {

bool OneOf(std::string_view s, std::initializer_list<std::string_view> set) {
    for (std::string_view v : set)
        if (s == v)
            return true;
    return false;
}

bool OneOrThree(uint32_t n) {
    return n == 1 || n == 3;
}

} // namespace

int PunchUnitType(std::string_view keyword) {
    if (keyword == "Type1")
        return 1;
    if (keyword == "Type2")
        return 2;
    if (keyword == "Type3")
        return 3;
    if (keyword == "Type4")
        return 4;
    return 0;
}

int FinishingSizeClass(std::string_view paper, std::string_view duplex, uint32_t n, bool portrait) {
    int cls = 0;
    if (OneOf(paper, {"Letter", "A4"})) {
        cls = n == 6 ? 4 : 5;
    } else if (paper == "B5") {
        cls = n == 6 ? 0 : 1;
    } else if (OneOf(paper, {"A3", "B4"})) {
        if (n == 6)
            cls = 4;
        else if (OneOrThree(n))
            cls = portrait ? 7 : 6;
        else
            cls = portrait ? 6 : 7;
    } else if (OneOf(paper, {"Tabloid", "FanFoldGermanLegal", "ZDLegal", "Legal", "Executive"})) {
        if (n == 6)
            cls = 0;
        else if (OneOrThree(n))
            cls = portrait ? 3 : 2;
        else
            cls = portrait ? 2 : 3;
    }
    if (duplex == "None" && cls > 3)
        cls -= 4;
    return cls;
}

bool PunchFeasible(int punchType, std::string_view paper, uint32_t n, bool portrait,
                   uint32_t binding) {
    if (n == 6)
        return false;
    // For the units that punch A4 only one way round: the binding edge must
    // agree with the orientation of the sheet as the layout turns it.
    const bool sideBinding = binding == 0 || binding == 1;
    const bool rule = sideBinding ? (portrait == OneOrThree(n)) : (portrait != OneOrThree(n));
    switch (punchType) {
    case 2:
    case 4:
        return OneOf(paper, {"A3", "A4", "B5", "B4", "Letter", "FanFoldGermanLegal", "ZDLegal",
                             "Legal", "Executive", "Tabloid"});
    case 1:
        return OneOf(paper,
                     {"A3", "Tabloid", "Letter", "FanFoldGermanLegal", "ZDLegal", "Legal"}) ||
               (paper == "A4" && rule);
    case 3:
        return paper == "A3" || (paper == "A4" && rule);
    default:
        return false;
    }
}

uint8_t FinishingLayoutKey(uint32_t pagesPerSheet, uint32_t orientationSel, int punchType) {
    unsigned key = pagesPerSheet & 0xFF;
    if (orientationSel == 1)
        key += 0x80;
    else if (orientationSel == 2)
        key += 0x40;
    key += unsigned(punchType) << 3;
    return uint8_t(key);
}

FinishingResult ReconcileFinishing(const FinishingInput& in) {
    FinishingResult r;
    r.staple = in.staple;
    r.punch = in.punch;
    r.binding = in.binding;
    r.rememberedPaper = in.rememberedPaper;
    r.rememberedLayoutKey = in.rememberedLayoutKey;

    const int punchType = PunchUnitType(in.punchUnit);
    const uint32_t n = in.pagesPerSheetSel;
    r.sizeClass = FinishingSizeClass(in.paper, in.duplex, n, in.portrait);

    if (uint32_t(in.paperNumber) != in.rememberedPaper) {
        r.paperChanged = true;
        r.rememberedPaper = uint32_t(in.paperNumber);
        r.staple = 0;
        r.punch = 0;
        r.binding = 2;
    }

    const uint8_t key = FinishingLayoutKey(n, in.orientationSel, punchType);
    if (key != in.rememberedLayoutKey) {
        r.layoutChanged = true;
        r.rememberedLayoutKey = key;
        r.binding = 2;
        r.staple = 0;
        r.punch = 0;
    }

    if (in.hasBinding) {
        uint32_t& b = r.binding;
        switch (r.sizeClass) {
        case 0:
            b = n == 6 ? 4 : 2;
            break;
        case 4:
            b = 4;
            break;
        case 1:
            if (b == 4)
                b = 2;
            break;
        case 2:
        case 6:
            if (b == 2 || b == 3 || (r.sizeClass == 2 && b == 4))
                b = 0;
            break;
        case 3:
        case 7:
            if (b == 0 || b == 1 || (r.sizeClass == 3 && b == 4))
                b = 2;
            break;
        default:
            break;
        }
    }

    if (in.hasStaple && r.sizeClass == 0)
        r.staple = 0;

    r.punchFeasible = PunchFeasible(punchType, in.paper, n, in.portrait, r.binding);
    if (in.hasPunch && (r.sizeClass == 0 || r.binding == 4 || !r.punchFeasible))
        r.punch = 0;
    return r;
}

uint32_t ReconcileOutputBin(bool finisherInstalled, uint32_t outputBin) {
    if (finisherInstalled)
        return outputBin == 1 ? 0 : outputBin;
    return (outputBin == 2 || outputBin == 3) ? 0 : outputBin;
}

JobTypeState ReconcileJobType(bool hasJobTypeItem, bool hardDiskInstalled, uint32_t jobType) {
    JobTypeState s;
    s.jobType = (hasJobTypeItem && !hardDiskInstalled) ? 0 : jobType;
    s.copiesEnabled = s.jobType == 0;
    return s;
}

} // namespace zd
