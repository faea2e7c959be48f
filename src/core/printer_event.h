#pragma once

#include <windows.h>

namespace zd {

// Printer initialisation work of PrinterEvent (event 3). False on failure.
bool InitializePrinter(const WCHAR* printerName);

} // namespace zd
