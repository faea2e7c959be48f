#pragma once

#include <windows.h>

namespace zd {

INT_PTR CALLBACK ColorPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace zd
