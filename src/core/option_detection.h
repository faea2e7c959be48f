// Reading the installed options from the printer through the model's
// extension libraries, for the device tree.
#pragma once

#include "abi/oemui_abi.h"
#include "core/detected_options.h"

namespace zd {

// Direct detection (the auto-detect button). True when options were read.
bool DetectOptionsDirect(OEMCUIPPARAM* deviceTree, DetectedOptions* out);

// Port-based detection (activation of the device page). True when read.
bool DetectOptionsFromPort(OEMCUIPPARAM* deviceTree, DetectedOptions* out);

// Whether the printer's port is one the network library can reach.
bool IsPortValidForNetwork(OEMCUIPPARAM* deviceTree);

} // namespace zd
