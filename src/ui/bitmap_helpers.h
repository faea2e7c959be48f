// Drawing bitmap resources at the place of a dialog control.
#pragma once

#include <windows.h>

namespace zd {

// Draws bitmap `bitmapId` of `module` at its natural size at the top-left
// corner of control `controlId` of `window`; magenta pixels stay transparent.
int DrawTransparentBitmap(HWND window, HINSTANCE module, WORD controlId, WORD bitmapId);

// Draws the device-independent bitmap `bitmapId` with its own palette two
// pixels inside the top-left corner of control `controlId`, in a sunken frame.
BOOL DrawDibWithFrame(HWND window, HINSTANCE module, WORD bitmapId, WORD controlId);

} // namespace zd
