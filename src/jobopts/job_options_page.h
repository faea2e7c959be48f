#pragma once

#include <windows.h>

namespace zd {

INT_PTR CALLBACK JobOptionsPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace zd
