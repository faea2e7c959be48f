// Reading the installed options from the printer through the model's
// extension libraries, for the device tree.
#pragma once

#include "abi/oemui_abi.h"

#include <cstdint>

namespace zd {

// The option index to select in each installable-option device item.
struct DetectedSelections {
    uint32_t hardDisk = 0;
    uint32_t duplex = 0;
    uint32_t trays = 0;
    uint32_t memory = 0;
    uint32_t finisher = 0;
    uint32_t multiPurposeFeeder = 0;
    uint32_t punchUnit = 0;
};

// Direct detection (the auto-detect button). True when options were read.
bool DetectOptionsDirect(OEMCUIPPARAM* deviceTree, DetectedSelections* out);

// Port-based detection (activation of the device page). True when read.
bool DetectOptionsFromPort(OEMCUIPPARAM* deviceTree, DetectedSelections* out);

// Whether the printer's port is one the network library can reach.
bool IsPortValidForNetwork(OEMCUIPPARAM* deviceTree);

} // namespace zd
