// The third page of the document sheet, whose template, tab icon and
// pictures come from the model's resource library (Process().extensionModule).
#pragma once

#include <windows.h>

namespace zd {

INT_PTR CALLBACK ExtensionPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace zd
