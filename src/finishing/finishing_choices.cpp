#include "finishing/finishing_choices.h"

#include "finishing/finishing_rules.h"

namespace zd {

namespace {

constexpr uint32_t kCentreBinding = 4; // the fold: no edge to punch
constexpr uint32_t kBindingCount = 5;  // left, right, top, bottom, centre

// The reconciliation's steps on these selections, with the paper and the
// layout taken as the ones remembered: only the size class, the binding
// constraints and the punch feasibility act.
FinishingResult Reconciled(const FinishingPrinter& p, const FinishingSelections& s) {
    FinishingInput in;
    in.punchUnit = p.punchUnit;
    in.paper = p.paper;
    in.duplex = p.duplex;
    in.orientationSel = p.orientationSel;
    in.pagesPerSheetSel = p.pagesPerSheetSel;
    in.portrait = p.portrait;
    in.hasBinding = p.hasBinding;
    in.hasStaple = p.hasStaple;
    in.hasPunch = p.hasPunch;
    in.staple = s.staple;
    in.punch = s.punch;
    in.binding = s.binding;
    in.rememberedLayoutKey =
        FinishingLayoutKey(p.pagesPerSheetSel, p.orientationSel, PunchUnitType(p.punchUnit));
    return ReconcileFinishing(in);
}

} // namespace

FinishingRefusal OutputBinRefusal(const FinishingPrinter& p, uint32_t bin) {
    if (ReconcileOutputBin(p.finisher, bin) == bin)
        return FinishingRefusal::None;
    return p.finisher ? FinishingRefusal::NotWithFinisher : FinishingRefusal::NeedsFinisher;
}

FinishingRefusal BindingRefusal(const FinishingPrinter& p, uint32_t binding) {
    FinishingSelections s;
    s.binding = binding;
    return Reconciled(p, s).binding == binding ? FinishingRefusal::None
                                               : FinishingRefusal::NotWithPaper;
}

FinishingRefusal StapleRefusal(const FinishingPrinter& p, uint32_t staple, uint32_t binding) {
    if (staple == 0)
        return FinishingRefusal::None;
    if (!p.finisher)
        return FinishingRefusal::NeedsFinisher;
    FinishingSelections s;
    s.staple = staple;
    s.binding = binding;
    return Reconciled(p, s).staple == staple ? FinishingRefusal::None
                                             : FinishingRefusal::NotWithPaper;
}

FinishingRefusal PunchRefusal(const FinishingPrinter& p, uint32_t punch, uint32_t binding) {
    if (punch == 0)
        return FinishingRefusal::None;
    const int unit = PunchUnitType(p.punchUnit);
    if (unit == 0)
        return FinishingRefusal::NeedsPunchUnit;
    FinishingSelections s;
    s.punch = punch;
    s.binding = binding;
    const FinishingResult r = Reconciled(p, s);
    if (r.punch == punch)
        return FinishingRefusal::None;
    if (r.sizeClass == 0)
        return FinishingRefusal::NotWithPaper;
    // Another edge may suit this paper where this one (or the fold) does not.
    for (uint32_t b = 0; b < kCentreBinding; ++b)
        if (BindingRefusal(p, b) == FinishingRefusal::None &&
            PunchFeasible(unit, p.paper, p.pagesPerSheetSel, p.portrait, b))
            return FinishingRefusal::NotWithBinding;
    return FinishingRefusal::NotWithPaper;
}

ListOffer BindingOffer(const FinishingPrinter& p, uint32_t count) {
    ListOffer offer;
    uint32_t allowed = 0;
    for (uint32_t b = 0; b < count && b < kBindingCount; ++b) {
        const FinishingRefusal why = BindingRefusal(p, b);
        if (why == FinishingRefusal::None)
            ++allowed;
        else if (offer.reason == FinishingRefusal::None)
            offer.reason = why;
    }
    offer.usable = allowed > 1;
    if (offer.usable)
        offer.reason = FinishingRefusal::None;
    return offer;
}

// Staple and punch lists: option 0 is "off", always allowed; the list is
// usable when one of the others is.
template <typename Refusal> ListOffer OfferBeyondOff(uint32_t count, Refusal refusal) {
    ListOffer offer;
    for (uint32_t option = 1; option < count; ++option) {
        const FinishingRefusal why = refusal(option);
        if (why == FinishingRefusal::None) {
            offer.usable = true;
            offer.reason = FinishingRefusal::None;
            return offer;
        }
        if (offer.reason == FinishingRefusal::None)
            offer.reason = why;
    }
    return offer;
}

ListOffer StapleOffer(const FinishingPrinter& p, uint32_t count, uint32_t binding) {
    return OfferBeyondOff(count, [&](uint32_t o) { return StapleRefusal(p, o, binding); });
}

ListOffer PunchOffer(const FinishingPrinter& p, uint32_t count, uint32_t binding) {
    return OfferBeyondOff(count, [&](uint32_t o) { return PunchRefusal(p, o, binding); });
}

FinishingSelections SettleFinishing(const FinishingPrinter& p, FinishingSelections s) {
    const FinishingResult r = Reconciled(p, s);
    FinishingSelections out = s;
    out.binding = r.binding;
    out.staple = r.staple;
    out.punch = r.punch;
    if (p.hasStaple && !p.finisher)
        out.staple = 0;
    if (p.hasOutputBin)
        out.outputBin = ReconcileOutputBin(p.finisher, s.outputBin);
    return out;
}

} // namespace zd
