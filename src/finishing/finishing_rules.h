// Rules that keep the finishing selections (staple, punch, binding
// position, output bin, job type) consistent with the paper, the layout and
// the installed hardware: the Job Options page reconciles with them, the
// Finishing page offers only what they keep. Keywords are the driver's 8-bit
// option keywords as DrvGetDriverSetting answers them.
#pragma once

#include <cstdint>
#include <string_view>

namespace zd {

// "Type1".."Type4" give 1..4, anything else 0.
int PunchUnitType(std::string_view keyword);

// Size class 0..7 of the paper for the pages-per-sheet selection, reduced by
// 4 for classes above 3 when there is no duplex ("None").
int FinishingSizeClass(std::string_view paper, std::string_view duplex, uint32_t pagesPerSheet,
                       bool portrait);

// Whether the punch unit can punch this paper with this layout and binding.
bool PunchFeasible(int punchType, std::string_view paper, uint32_t pagesPerSheet, bool portrait,
                   uint32_t binding);

// One byte that changes whenever the layout or the punch unit changes.
uint8_t FinishingLayoutKey(uint32_t pagesPerSheet, uint32_t orientationSel, int punchType);

struct FinishingInput {
    std::string_view punchUnit; // ZDPunchUnit answer
    std::string_view paper;     // PageSize answer
    std::string_view duplex;    // Duplex answer
    uint32_t orientationSel = 0;
    uint32_t pagesPerSheetSel = 0;
    bool portrait = true;    // public DEVMODE orientation is 1
    int32_t paperNumber = 0; // public DEVMODE paper size
    bool hasBinding = false; // the driver has the items
    bool hasStaple = false;
    bool hasPunch = false;
    uint32_t staple = 0; // current working selections
    uint32_t punch = 0;
    uint32_t binding = 0;
    uint32_t rememberedPaper = 0; // kept in the private DEVMODE block
    uint8_t rememberedLayoutKey = 0;
};

struct FinishingResult {
    uint32_t staple = 0;
    uint32_t punch = 0;
    uint32_t binding = 0;
    uint32_t rememberedPaper = 0;
    uint8_t rememberedLayoutKey = 0;
    int sizeClass = 0;
    bool punchFeasible = false;
    bool paperChanged = false;
    bool layoutChanged = false;
};

// The reconciliation run each time the page is initialised.
FinishingResult ReconcileFinishing(const FinishingInput& in);

// Output bins 2 and 3 need the finisher; bin 1 exists only without it.
uint32_t ReconcileOutputBin(bool finisherInstalled, uint32_t outputBin);

// Held jobs need the hard disk: without it the job type returns to normal,
// and the copies fields are usable only for a normal job.
struct JobTypeState {
    uint32_t jobType = 0;
    bool copiesEnabled = true;
};
JobTypeState ReconcileJobType(bool hasJobTypeItem, bool hardDiskInstalled, uint32_t jobType);

} // namespace zd
