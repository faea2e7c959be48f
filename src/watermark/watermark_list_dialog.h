// The watermark list dialog of the Job Options page: choose the document's
// watermark, create, edit and delete stored ones, with a preview. Cancel
// undoes everything done since the dialog opened.
#pragma once

#include <windows.h>

namespace zd {

struct UiContext;

// Runs the dialog modally over the Job Options page `page`: 1 when
// confirmed (the chosen watermark is then in the private DEVMODE), 0 after
// Cancel, -1 when the dialog could not be made.
INT_PTR RunWatermarkListDialog(HWND page, UiContext* ctx);

} // namespace zd
