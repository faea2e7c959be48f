// The Advanced dialog of the Job Options page: mirror and negative output
// with a small preview, spooling to the printer's hard disk, maintenance
// before printing and hairline adjustment. It edits the sheet's working
// selections; the compression level goes straight into the private DEVMODE.
#pragma once

#include <windows.h>

namespace zd {

struct UiContext;

// Runs the dialog modally over `owner`. 1 when confirmed (the working
// selections and the DEVMODE's compression level are then written), 0 after
// Cancel or the close box, -1 when the dialog could not be made.
INT_PTR RunAdvancedDialog(HWND owner, UiContext* ctx);

// Icon of the preview for the check states: 7001 plain, +1 mirror, +2 negative.
int AdvancedPreviewIcon(bool mirror, bool negative);

} // namespace zd
