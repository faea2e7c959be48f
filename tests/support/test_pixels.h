// Reading pixels back in tests: of bitmap resources and of what a window shows.
#pragma once

#include <windows.h>

#include <vector>

namespace zdtest {

// 32-bit pixels of a bitmap resource, top row first, in DIB order (0x00RRGGBB).
std::vector<COLORREF> BitmapPixels(HMODULE module, int id, int* w, int* h);

// What the window's client area shows in a w x h block at (x, y), in the
// same order.
std::vector<COLORREF> ScreenPixels(HWND window, int x, int y, int w, int h);

// Top-left corner of a control in its parent's client coordinates.
POINT ControlOrigin(HWND window, int id);

} // namespace zdtest
