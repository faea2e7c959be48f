#include "core/printer_event.h"

namespace zd {

// The initialisation steps (printer data, file permissions, default DEVMODE,
// installer's options) are not built yet; the event is accepted.
bool InitializePrinter(const WCHAR* printerName) {
    return printerName != nullptr;
}

} // namespace zd
