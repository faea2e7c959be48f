// Printer initialisation (PrinterEvent, event 3): printer data, file
// permissions, the default DEVMODE's PostScript output option and the
// installer's detected options.
#pragma once

#include <windows.h>

namespace zd {

// Byte of the driver's PostScript output option in the printer's default
// DEVMODE (public part followed by the PostScript driver's private part).
constexpr size_t kPsOutputOptionOffset = 344;

// Printer initialisation work of PrinterEvent (event 3). False when a
// printer data value could not be written or the open gave no handle; a
// printer that cannot be opened, and every best-effort file or DEVMODE
// step, leave it true.
bool InitializePrinter(const WCHAR* printerName);

// Gives the file a present, null DACL (full access for every user), taking
// ownership for the Administrators group when the first attempt is refused.
// True when the access list was replaced.
bool OpenUpFileAccess(const WCHAR* path);

// Enables the take-ownership privilege of the process token; `previous`
// receives the state to restore with RestoreTakeOwnership. True when the
// adjustment left no error.
bool EnableTakeOwnership(TOKEN_PRIVILEGES* previous);
bool RestoreTakeOwnership(const TOKEN_PRIVILEGES& previous);

enum class OutputOptionResult {
    Written,       // the default DEVMODE was stored with the model's value
    NotConfigured, // PSOutputOpt outside 0..3: nothing to do
    NoDevMode,     // no default DEVMODE large enough to hold the option
    Failed,        // the printer could not be opened or the DEVMODE stored
};

// Sets the PostScript output option of the printer's global default DEVMODE
// from the model's PSOutputOpt.
OutputOptionResult SetUpOutputOption(const WCHAR* printerName);

} // namespace zd
