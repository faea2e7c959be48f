// The About dialog: driver name, driver version and the PPD file's version
// and copyright lines under the library's picture. It changes nothing.
#pragma once

#include <windows.h>

namespace zd {

struct UiContext;

// Runs the dialog modally over `owner`. 1 when closed with the OK button,
// 0 with Cancel or the close box (-1 when the dialog could not be made).
INT_PTR RunAboutDialog(HWND owner, UiContext* ctx);

INT_PTR CALLBACK AboutDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace zd
