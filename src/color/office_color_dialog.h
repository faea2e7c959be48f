// The office colour details of the Color page: the RGB colour setting, a
// user colour setting from the model's colour setting store, the CMYK
// simulation and the black handling. The dialog works on copies of its own
// and writes them into the sheet's working record only when confirmed.
#pragma once

#include <windows.h>

namespace zd {

struct UiContext;

// Runs the dialog modally over `owner`. 1 when confirmed, 0 when cancelled
// or closed (-1 when the dialog could not be made).
INT_PTR RunOfficeColorDialog(HWND owner, UiContext* ctx);

} // namespace zd
