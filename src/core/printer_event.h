// Printer initialisation (PrinterEvent, event 3): printer data, file
// permissions, the default DEVMODE's PostScript output option and the
// installer's detected options.
#pragma once

#include "core/file_access.h"

#include <windows.h>

#include <string>
#include <vector>

namespace zd {

// Byte of the driver's PostScript output option in the printer's default
// DEVMODE (public part followed by the PostScript driver's private part).
constexpr size_t kPsOutputOptionOffset = 344;

// Printer initialisation work of PrinterEvent (event 3). False when a
// printer data value could not be written or the open gave no handle; a
// printer that cannot be opened, and every best-effort file or DEVMODE
// step, leave it true.
bool InitializePrinter(const WCHAR* printerName);

// The colour setting store of the model (its CCMInfoFile in the driver
// folder); empty without one or when its path cannot be built whole.
std::wstring ColourSettingStorePath(HANDLE printer);

// The files that printer initialisation opens up to users: the
// configuration file (when there is one), which holds the watermark and
// overlay stores, and the colour setting store (when its path was built).
// Never the PPD.
std::vector<std::wstring> FilesToOpenUp(HANDLE printer, const WCHAR* configPath);

// Opens up each of FilesToOpenUp (OpenUpFileAccess), best effort.
void OpenUpDriverFiles(HANDLE printer, const WCHAR* configPath,
                       FileSecurityWriter write = SetFileSecurityW);

enum class OutputOptionResult {
    Written,       // the default DEVMODE was stored with the model's value
    NotConfigured, // PSOutputOpt outside 0..3: nothing to do
    NoDevMode,     // no default DEVMODE large enough to hold the option
    Failed,        // the printer could not be opened or the DEVMODE stored
};

// Sets the PostScript output option of the printer's global default DEVMODE
// from the model's PSOutputOpt.
OutputOptionResult SetUpOutputOption(const WCHAR* printerName);

// Its writing step: `value` into the default DEVMODE of the spooler's
// level-8 answer `global` (empty when the spooler gave none, which ends
// the step), else of the per-printer or the driver's default, stored as
// the global default.
OutputOptionResult WriteOutputOption(HANDLE printer, const WCHAR* printerName, BYTE value,
                                     std::vector<BYTE> global);

} // namespace zd
