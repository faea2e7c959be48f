// The watermark font dialog: a font of the printer's font list, a style and
// a size for the working watermark.
#pragma once

#include <windows.h>

namespace zd {

struct UiContext;

// Runs the dialog modally over `owner`: 1 when confirmed (font number,
// size, weight and italic are then in the working copy), 2 after Cancel,
// -1 when it could not be made.
INT_PTR RunWatermarkFontDialog(HWND owner, UiContext* ctx);

} // namespace zd
