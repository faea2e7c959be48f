// What the Finishing page offers and the picture of the sheet, over random
// printers, papers, layouts, selections and control sizes.
// Layout: i32 cw, i32 ch, i32 paper width, i32 paper height, u32 binding,
// u32 staple, u32 punch, u32 pages per sheet, u8 flags (finisher, portrait,
// orientation 1), u8 punch unit type, u8 paper length, then the paper
// keyword and the duplex keyword.
#include "finishing/finishing_choices.h"
#include "finishing/finishing_rules.h"
#include "finishing/sheet_picture.h"
#include "fuzz_input.h"

#include <string>

using namespace zd;

namespace {

bool Inside(const PictureRect& r, const PictureRect& outer) {
    return r.left >= outer.left && r.top >= outer.top && r.right <= outer.right &&
           r.bottom <= outer.bottom && r.left < r.right && r.top < r.bottom;
}

void CheckPicture(const SheetPictureInput& in) {
    const SheetPicture pic = LayOutSheetPicture(in);
    if (!pic.valid) {
        ZD_FUZZ_CHECK(pic.stapleCount == 0 && pic.holeCount == 0);
        return;
    }
    const PictureRect client = {0, 0, in.clientWidth, in.clientHeight};
    ZD_FUZZ_CHECK(Inside(pic.page, client));
    ZD_FUZZ_CHECK(Inside(pic.bindingEdge, pic.page));
    ZD_FUZZ_CHECK(pic.stapleCount <= kMaxPictureStaples);
    ZD_FUZZ_CHECK(pic.holeCount <= kMaxPictureHoles);
    for (uint32_t i = 0; i < pic.stapleCount; ++i)
        ZD_FUZZ_CHECK(Inside(pic.staples[i], pic.page));
    for (uint32_t i = 0; i < pic.holeCount; ++i)
        ZD_FUZZ_CHECK(Inside(pic.holes[i], pic.page));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zdfuzz::Input f(data, size);
    SheetPictureInput pic;
    pic.clientWidth = f.take<int32_t>();
    pic.clientHeight = f.take<int32_t>();
    pic.paper.width = f.take<int32_t>();
    pic.paper.height = f.take<int32_t>();
    pic.binding = f.take<uint32_t>();
    pic.staple = f.take<uint32_t>();
    pic.punch = f.take<uint32_t>();
    const uint32_t n = f.take<uint32_t>();
    const uint8_t flags = f.take<uint8_t>();
    const std::string unit = "Type" + std::to_string(f.take<uint8_t>() % 6);
    const std::string_view paper = f.bytes(f.take<uint8_t>() % 24);
    const std::string_view duplex = f.restBytes();
    CheckPicture(pic);

    FinishingPrinter p;
    p.finisher = flags & 1;
    p.portrait = flags & 2;
    p.orientationSel = (flags >> 2) & 3;
    p.pagesPerSheetSel = n;
    p.punchUnit = unit;
    p.paper = paper;
    p.duplex = duplex;
    p.hasOutputBin = p.hasStaple = p.hasPunch = p.hasBinding = true;

    FinishingSelections s;
    s.outputBin = pic.staple & 7;
    s.staple = pic.staple;
    s.punch = pic.punch;
    s.binding = pic.binding;
    const FinishingSelections settled = SettleFinishing(p, s);
    const FinishingSelections again = SettleFinishing(p, settled);
    ZD_FUZZ_CHECK(again.staple == settled.staple && again.punch == settled.punch &&
                  again.binding == settled.binding && again.outputBin == settled.outputBin);
    ZD_FUZZ_CHECK(OutputBinRefusal(p, settled.outputBin) == FinishingRefusal::None);
    ZD_FUZZ_CHECK(StapleRefusal(p, settled.staple, settled.binding) == FinishingRefusal::None);
    ZD_FUZZ_CHECK(PunchRefusal(p, settled.punch, settled.binding) == FinishingRefusal::None);
    // A choice offered with the settled binding is one the rules keep.
    if (settled.binding <= binding::Centre)
        ZD_FUZZ_CHECK(BindingRefusal(p, settled.binding) == FinishingRefusal::None);
    BindingOffer(p, pic.binding & 7);
    StapleOffer(p, pic.staple & 7, settled.binding);
    PunchOffer(p, pic.punch & 7, settled.binding);
    return 0;
}
