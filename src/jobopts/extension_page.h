#pragma once

#include <windows.h>

namespace zd {

INT_PTR CALLBACK ExtensionPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace zd
