// Reading the installed options from the printer through the model's
// extension libraries, for the device tree, and copying an installer's
// detected options into the driver's stored option keywords.
#pragma once

#include "abi/oemui_abi.h"
#include "core/detected_options.h"

#include <string>

namespace zd {

// Request flags handed to ReadPrinterOptionFlag32.
constexpr DWORD kDirectReadFlags = 0x800080;
constexpr DWORD kPortReadFlags = 0xA00000;

// Direct detection (the auto-detect button). True when options were read.
bool DetectOptionsDirect(OEMCUIPPARAM* deviceTree, DetectedOptions* out);

// Port-based detection (activation of the device page). True when read.
bool DetectOptionsFromPort(OEMCUIPPARAM* deviceTree, DetectedOptions* out);

// Whether the model's network library can serve the printer. A printer
// name that does not fit the library's buffer is never cut: false.
bool NetworkLibraryServesPrinter(OEMCUIPPARAM* deviceTree);

// Whether the printer's port is one the network library can reach.
bool IsPortValidForNetwork(OEMCUIPPARAM* deviceTree);

// "\zedopt.dat" in the Windows directory; empty when the path does not fit.
std::wstring InstallerOptionFilePath();

// Installation-time detection: the installer's option file, when there is
// one, rewrites the printer's "FeatureKeyword" driver data.
void ApplyInstallerDetectedOptions(HANDLE printer);

} // namespace zd
