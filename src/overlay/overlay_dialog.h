// The overlay dialog opened from the Job Options page.
#pragma once

#include <windows.h>

namespace zd {

struct UiContext;

// Runs the dialog modally over `owner`: 1 when confirmed, 0 otherwise.
INT_PTR RunOverlayDialog(HWND owner, UiContext* ctx);

} // namespace zd
