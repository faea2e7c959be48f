// The advanced photo details of the Color page: the colour matching method
// with its input, link, simulation and output profiles, the rendering
// intent, black handling, pure black and keep black and the matching
// precision. The dialog works on copies of its own and writes them into the
// sheet's working record only when confirmed.
#pragma once

#include <windows.h>

namespace zd {

struct UiContext;

// Runs the dialog modally over `owner`. 1 when confirmed, 0 when cancelled
// or closed (-1 when the dialog could not be made).
INT_PTR RunAdvancedPhotoDialog(HWND owner, UiContext* ctx);

} // namespace zd
