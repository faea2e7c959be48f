// What the Finishing page offers: every choice is tested against the same
// rules the Job Options page reconciles with (finishing_rules), so that a
// choice one page would undo is never offered by the other.
#pragma once

#include <cstdint>
#include <string_view>

namespace zd {

// Why a choice is not offered; each has a short text beside its list.
enum class FinishingRefusal : uint8_t {
    None,
    NeedsFinisher,   // staples and the finisher's trays
    NotWithFinisher, // the tray the finisher covers
    NeedsPunchUnit,
    NotWithPaper,   // the paper size (as the layout turns it) rules it out
    NotWithBinding, // the binding position rules it out
};

// What the printer and the document say, as the driver answers them.
struct FinishingPrinter {
    bool finisher = false;      // ZDFinisher is "True"
    std::string_view punchUnit; // ZDPunchUnit answer
    std::string_view paper;     // PageSize answer
    std::string_view duplex;    // Duplex answer
    uint32_t orientationSel = 0;
    uint32_t pagesPerSheetSel = 0;
    bool portrait = true;
    bool hasOutputBin = false; // the driver has the items
    bool hasStaple = false;
    bool hasPunch = false;
    bool hasBinding = false;
};

struct FinishingSelections {
    uint32_t outputBin = 0;
    uint32_t staple = 0;
    uint32_t punch = 0;
    uint32_t binding = 0;
};

FinishingRefusal OutputBinRefusal(const FinishingPrinter& p, uint32_t bin);
FinishingRefusal BindingRefusal(const FinishingPrinter& p, uint32_t binding);
// Staples and holes with the given binding position.
FinishingRefusal StapleRefusal(const FinishingPrinter& p, uint32_t staple, uint32_t binding);
FinishingRefusal PunchRefusal(const FinishingPrinter& p, uint32_t punch, uint32_t binding);

// A list of `count` options: usable while it offers more than one choice;
// otherwise `reason` says why (None when the item has a single option).
struct ListOffer {
    bool usable = false;
    FinishingRefusal reason = FinishingRefusal::None;
};
ListOffer BindingOffer(const FinishingPrinter& p, uint32_t count);
ListOffer StapleOffer(const FinishingPrinter& p, uint32_t count, uint32_t binding);
ListOffer PunchOffer(const FinishingPrinter& p, uint32_t count, uint32_t binding);

// The selections with every choice the page would refuse put where the
// rules put it (the paper and layout resets of the Job Options page's
// reconciliation aside, which belong to a new paper or layout).
FinishingSelections SettleFinishing(const FinishingPrinter& p, FinishingSelections s);

} // namespace zd
